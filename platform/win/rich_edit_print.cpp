// The rich edit's printing: its pages formatted for a printer, and plain text laid out page by
// page when the control holds no formatting.
#include "platform/win/rich_edit.h"

#include "platform/win/dpi.h"
#include "platform/win/forms.h"
#include "platform/win/gdi.h"
#include "platform/win/graphics.h"
#include "platform/win/printers.h"
#include "platform/win/wait_cursor.h"

namespace fn {

int TRichEdit::PrintPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage) {
    struct LayoutCache {  // the control keeps its page layout until told to drop it
        TRichEdit& edit;
        ~LayoutCache() { edit.Send(EM_FORMATRANGE, FALSE, 0); }
    } cache{*this};
    int length = GetTextLen();
    FORMATRANGE range{};
    range.hdc = range.hdcTarget = dc;
    range.rcPage = pageTwips;
    int start = 0, pages = 0;
    for (;;) {
        range.rc = pageTwips;
        range.chrg = {start, -1};
        LONG next = static_cast<LONG>(Send(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
        // A control that lays out no page at all cannot print; its text goes out as plain text.
        if (pages == 0 && next <= 0 && length > 0) return PrintPlainPages(dc, pageTwips, newPage);
        ++pages;
        // A page that took no text (a line taller than the page) would repeat for ever.
        if (next <= start || next >= length) break;
        newPage();
        start = next;
    }
    return pages;
}

int TRichEdit::PrintPlainPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage) {
    auto toX = [dc](int twips) { return ::MulDiv(twips, ::GetDeviceCaps(dc, LOGPIXELSX), 1440); };
    auto toY = [dc](int twips) { return ::MulDiv(twips, ::GetDeviceCaps(dc, LOGPIXELSY), 1440); };
    RECT page{toX(pageTwips.left), toY(pageTwips.top), toX(pageTwips.right), toY(pageTwips.bottom)};
    int points = ::MulDiv(font_.height < 0 ? -font_.height : font_.height, 72, SystemDpi());
    LOGFONTW lf = font_.LogFont();
    lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    TFontHandle font(::CreateFontIndirectW(&lf));
    // Selected back out and deleted even when a page break gives up (an aborted print job).
    TSelectObject selected(dc, font.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    int lineHeight = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    int width = std::max(1, static_cast<int>(page.right - page.left));
    String text = lines_.Text();
    int pages = 1, y = page.top;
    auto emitLine = [&](const wchar_t* line, int count) {
        // Each page holds at least one line, so the text always moves on.
        if (y > page.top && y + lineHeight > page.bottom) {
            newPage();
            ++pages;
            y = page.top;
        }
        ::TextOutW(dc, page.left, y, line, count);
        y += lineHeight;
    };
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L"\r\n", pos);
        if (end == String::npos) end = text.size();
        const wchar_t* para = text.data() + pos;
        int rest = static_cast<int>(end - pos);
        if (rest == 0 && end < text.size()) emitLine(para, 0);
        while (rest > 0) {
            int fit = 0;
            SIZE extent;
            ::GetTextExtentExPointW(dc, para, rest, width, &fit, nullptr, &extent);
            int take = std::clamp(fit, 1, rest);
            if (take < rest) {  // break after the last blank that fits
                int blank = take;
                while (blank > 0 && para[blank - 1] != L' ') --blank;
                if (blank > 0) take = blank;
            }
            emitLine(para, take);
            para += take;
            rest -= take;
        }
        if (end >= text.size()) break;
        pos = end + 2;
    }
    return pages;
}

RECT PrintTextRect(const TPrintSheet& s) {
    if (s.DpiX <= 0 || s.DpiY <= 0) return {0, 0, 0, 0};
    auto x = [&](int units) { return ::MulDiv(units, 1440, s.DpiX); };
    auto y = [&](int units) { return ::MulDiv(units, 1440, s.DpiY); };
    const RECT whole{0, 0, x(s.PrintableWidth), y(s.PrintableHeight)};
    const RECT text{std::max(0, kPrintMarginTwips - x(s.OffsetX)), std::max(0, kPrintMarginTwips - y(s.OffsetY)),
                    std::min<int>(whole.right, x(s.Width - s.OffsetX) - kPrintMarginTwips),
                    std::min<int>(whole.bottom, y(s.Height - s.OffsetY) - kPrintMarginTwips)};
    // Less than an inch left between the margins: the sheet is too small for them.
    if (text.right - text.left < 1440 || text.bottom - text.top < 1440) return whole;
    return text;
}

void TRichEdit::Print(const String& caption) {
    TPrinter* printer = Printer();
    printer->BeginDoc(caption);
    try {
        HDC dc = printer->Handle();
        TPrintSheet sheet;
        sheet.Width = ::GetDeviceCaps(dc, PHYSICALWIDTH), sheet.Height = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
        sheet.PrintableWidth = ::GetDeviceCaps(dc, HORZRES), sheet.PrintableHeight = ::GetDeviceCaps(dc, VERTRES);
        sheet.OffsetX = ::GetDeviceCaps(dc, PHYSICALOFFSETX), sheet.OffsetY = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
        sheet.DpiX = ::GetDeviceCaps(dc, LOGPIXELSX), sheet.DpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
        // A device that names no sheet (no physical size) is taken to print to its edges.
        if (sheet.Width <= 0 || sheet.Height <= 0)
            sheet.Width = sheet.PrintableWidth, sheet.Height = sheet.PrintableHeight, sheet.OffsetX = sheet.OffsetY = 0;
        PrintPages(dc, PrintTextRect(sheet), [printer] { printer->NewPage(); });
        printer->EndDoc();
    } catch (...) {
        printer->Abort();
        throw;
    }
}

}  // namespace fn
