/* The product's version, shared by the programs' texts and by resources/product.rc. */
#pragma once
#define QN_VERSION_TEXT "0.04"
#define QN_VERSION_NUMBERS 0, 4, 0, 0
#define QN_COMPANY_NAME "Harvelt"
#define QN_PRODUCT_NAME "QeltoNimbi"
#define QN_COPYRIGHT "Copyright (C) 2026 Harvelt. All rights reserved."
