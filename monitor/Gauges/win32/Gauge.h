#pragma once
// TGauge: a child window that shows a value between a minimum and a maximum as a bar, a pie, a needle or text,
// with the percentage written in the inverse colour of whatever lies under it, and a tool tip of its own.
#include "common/win32/UniqueHandle.h"
#include "common/win32/WindowObject.h"
#include "monitor/Gauges/GaugeProperties.h"
#include "monitor/Gauges/win32/OffscreenBitmap.h"

#include <windows.h>

#include <optional>
#include <string>

namespace qn::win32 {

// The user's high contrast colours while high contrast is on; nothing while it is off.
std::optional<HighContrastColors> SystemHighContrastColors();

class TGauge final : private GaugeRepaintPort, public GaugeProperties, public WindowObject {
public:
    // A gauge in `parent` at `bounds` (parent client coordinates); 100 by 100 pixels unless given.
    explicit TGauge(HWND parent, const RECT& bounds = {0, 0, 100, 100});
    ~TGauge() override;

    void SetBounds(const RECT& bounds);

    // The tool tip. Lines are separated by "\n" and shown one below the other; a change shows at once, also
    // while the tip is up.
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& text);
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value);

    // Composes the whole picture off screen and copies it onto `target` at (0, 0) in one step.
    void Paint(HDC target);

private:
    void RepaintNow() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HFONT TextFont();
    // The percentage as white text on black, where the image's drawing rectangle puts it.
    void DrawTextMask(const OffscreenBitmap& mask, const GaugeLook& look);
    // The picture in the system's colours, the figure in the text colour of the part under each of its pixels.
    void PaintInContrast(const OffscreenBitmap& image, const GaugeLook& look, const HighContrastColors& system);
    void UpdateToolText();

    std::string m_hint;
    std::wstring m_hintWide; // the buffer the tool tip reads
    bool m_showHint = false;
    UniqueWindow m_toolTip;
    UniqueFont m_font;
    GaugeFont m_fontMadeFor;
};

} // namespace qn::win32
