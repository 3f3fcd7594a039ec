/* Ids of the resources every program carries, shared by resources/product.rc and the programs' code. */
#pragma once
#define QN_PROGRAM_ICON 1
