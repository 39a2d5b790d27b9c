#include "skin/data/resource_strings.h"

#include "platform/core/form_data.h"

namespace fn {

namespace {

struct BuiltIn {
    std::wstring_view key;
    const wchar_t* text;
};

// The texts used when an element's manager has no string component.
constexpr BuiltIn kBuiltIn[] = {
    {skinstr::MI_MINCAPTION, L"Mi&nimieren"},
    {skinstr::MI_MAXCAPTION, L"Ma&ximieren"},
    {skinstr::MI_CLOSECAPTION, L"&Schließen"},
    {skinstr::MI_RESTORECAPTION, L"&Wiederherstellen"},
    {skinstr::MI_MINTOTRAYCAPTION, L"In &Taskleiste minimieren"},
    {skinstr::MI_ROLLUPCAPTION, L"&Zuklappen"},
    {skinstr::MINBUTTON_HINT, L"Minimieren"},
    {skinstr::MAXBUTTON_HINT, L"Maximieren"},
    {skinstr::CLOSEBUTTON_HINT, L"Schließen"},
    {skinstr::TRAYBUTTON_HINT, L"In Taskleiste minimieren"},
    {skinstr::ROLLUPBUTTON_HINT, L"Aufklappen"},
    {skinstr::MENUBUTTON_HINT, L"System Menue"},
};

}  // namespace

const std::vector<String>& TmnResourceStrData::DefaultLines() {
    static const std::vector<String> lines = {
        L"MI_MINCAPTION=Mi&nimize",
        L"MI_MAXCAPTION=Ma&ximize",
        L"MI_CLOSECAPTION=&Close",
        L"MI_RESTORECAPTION=&Restore",
        L"MI_MINTOTRAYCAPTION=Minimize to &Tray",
        L"MI_ROLLUPCAPTION=Ro&llUp",
        L"MINBUTTON_HINT=Minimize",
        L"MAXBUTTON_HINT=Maximize",
        L"CLOSEBUTTON_HINT=Close",
        L"TRAYBUTTON_HINT=Minimize to Tray",
        L"ROLLUPBUTTON_HINT=Roll Up",
        L"MENUBUTTON_HINT=System menu",
        L"EDIT_UNDO=Undo",
        L"EDIT_COPY=Copy",
        L"EDIT_CUT=Cut",
        L"EDIT_PASTE=Paste",
        L"EDIT_DELETE=Delete",
        L"EDIT_SELECTALL=Select All",
        L"MSG_BTN_YES=&Yes",
        L"MSG_BTN_NO=&No",
        L"MSG_BTN_OK=OK",
        L"MSG_BTN_CANCEL=Cancel",
        L"MSG_BTN_ABORT=&Abort",
        L"MSG_BTN_RETRY=&Retry",
        L"MSG_BTN_IGNORE=&Ignore",
        L"MSG_BTN_ALL=&All",
        L"MSG_BTN_NOTOALL=N&oToAll",
        L"MSG_BTN_YESTOALL=Yes to &All",
        L"MSG_BTN_HELP=&Help",
        L"MSG_BTN_OPEN=&Open",
        L"MSG_BTN_SAVE=&Save",
        L"MSG_BTN_CLOSE=&Close",
        L"MSG_BTN_BACK_HINT=Go to last folder visited",
        L"MSG_BTN_UP_HINT=Up one level",
        L"MSG_BTN_NEWFOLDER_HINT=Create new folder",
        L"MSG_BTN_VIEWMENU_HINT=View menu",
        L"MSG_BTN_STRETCH_HINT=Stretch",
        L"MSG_FILENAME=File name:",
        L"MSG_FILETYPE=Files of type:",
        L"MSG_NEWFOLDER=New folder",
        L"MSG_LV_DETAILS=Details",
        L"MSG_LV_ICON=Large icons",
        L"MSG_LV_SMALLICON=Small icons",
        L"MSG_LV_LIST=List",
        L"MSG_PREVIEWSKIN=Preview",
        L"MSG_PREVIEWBUTTON=Button",
        L"MSG_OVERWRITE=Are you want to overwrite old file?",
        L"MSG_CAP_WARNING=Warning",
        L"MSG_CAP_ERROR=Error",
        L"MSG_CAP_INFORMATION=Information",
        L"MSG_CAP_CONFIRM=Confirm",
        L"MSG_CAP_SHOWFLAG=Do not show this message again",
        L"CALC_CAP=Calculator",
        L"ERROR=Error",
        L"COLORGRID_CAP=Basic colors",
        L"CUSTOMCOLORGRID_CAP=Custom colors",
        L"ADDCUSTOMCOLORBUTTON_CAP=Add to Custom Colors",
        L"FONTDLG_COLOR=Color:",
        L"FONTDLG_NAME=Name:",
        L"FONTDLG_SIZE=Size:",
        L"FONTDLG_HEIGHT=Height:",
        L"FONTDLG_EXAMPLE=Example:",
        L"FONTDLG_STYLE=Style:",
        L"FONTDLG_SCRIPT=Script:",
        L"DB_DELETE_QUESTION=Delete record?",
        L"DB_MULTIPLEDELETE_QUESTION=Delete all selected records?",
        L"NODISKINDRIVE=There is no disk in the drive or the drive is not ready",
        L"NOVALIDDRIVEID=Not a valid drive ID",
        L"FLV_NAME=Name",
        L"FLV_SIZE=Size",
        L"FLV_TYPE=Type",
        L"FLV_LOOKIN=Look in: ",
        L"FLV_MODIFIED=Modified",
        L"FLV_ATTRIBUTES=Attributes",
        L"FLV_DISKSIZE=Disk size",
        L"FLV_FREESPACE=Free space",
        L"PRNDLG_NAME=Name:",
        L"PRNDLG_PRINTER=Printer",
        L"PRNDLG_PROPERTIES=Properties...",
        L"PRNDLG_TYPE=Type:",
        L"PRNDLG_STATUS=Status:",
        L"PRNDLG_WHERE=Where:",
        L"PRNDLG_COMMENT=Comment:",
        L"PRNDLG_PRINTRANGE=Print range",
        L"PRNDLG_COPIES=Copies",
        L"PRNDLG_NUMCOPIES=Number of copies:",
        L"PRNDLG_COLLATE=Collate",
        L"PRNDLG_ALL=All",
        L"PRNDLG_PAGES=Pages",
        L"PRNDLG_SELECTION=Selection",
        L"PRNDLG_PRINTTOFILE=Print to file",
        L"PRNDLG_FROM=from:",
        L"PRNDLG_TO=to:",
        L"PRNDLG_ORIENTATION=Orientation",
        L"PRNDLG_PAPER=Paper",
        L"PRNDLG_PORTRAIT=Portrait",
        L"PRNDLG_LANDSCAPE=Landscape",
        L"PRNDLG_SOURCE=Source:",
        L"PRNDLG_SIZE=Size:",
        L"PRNDLG_MARGINS=Margins (millimeters)",
        L"PRNDLG_MARGINS_INCHES=Margins (inches)",
        L"PRNDLG_LEFT=Left:",
        L"PRNDLG_RIGHT=Right:",
        L"PRNDLG_TOP=Top:",
        L"PRNDLG_BOTTOM=Bottom:",
        L"PRNDLG_WARNING=There are no printers in your system!",
        L"FIND_NEXT=Find Next",
        L"FIND_WHAT=Find what:",
        L"FIND_DIRECTION=Direction",
        L"FIND_DIRECTIONUP=Up",
        L"FIND_DIRECTIONDOWN=Down",
        L"FIND_MATCH_CASE=Match case",
        L"FIND_MATCH_WHOLE_WORD_ONLY=Match whole word only",
        L"FIND_REPLACE_WITH=Replace with:",
        L"FIND_REPLACE=Replace",
        L"FIND_REPLACE_All=Replace All",
        L"FIND_REPLACE_CLOSE=Close",
        L"MORECOLORS=More colors...",
        L"AUTOCOLOR=Automatic",
        L"CUSTOMCOLOR=Custom...",
    };
    return lines;
}

TmnResourceStrData::TmnResourceStrData(TComponent* owner) : TComponent(owner) {
    strings_.Lines() = DefaultLines();
}

String TmnResourceStrData::GetResStr(std::wstring_view key) const {
    for (const String& line : strings_.Lines()) {
        size_t eq = line.find(L'=');
        if (eq == String::npos) continue;
        if (SameText(std::wstring_view(line).substr(0, eq), key)) return line.substr(eq + 1);
    }
    return String();
}

bool TmnResourceStrData::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (SameText(name, L"CharSet")) {
        // Either a number or one of the character-set names the form writer uses.
        if (value.kind == FormValue::Kind::Ident) {
            static constexpr std::pair<std::wstring_view, uint8_t> kNames[] = {
                {L"ANSI_CHARSET", 0}, {L"DEFAULT_CHARSET", 1}, {L"SYMBOL_CHARSET", 2},
                {L"OEM_CHARSET", 255}};
            for (const auto& [ident, number] : kNames)
                if (SameText(ident, value.AsIdent())) { charset_ = number; return true; }
            throw EReadError(L"Unbekannter Zeichensatz: " + value.AsIdent());
        }
        int number = value.AsInt();
        if (number < 0 || number > 255) throw EReadError(L"Ungültiger Zeichensatz: " + IntToStr(number));
        charset_ = static_cast<uint8_t>(number);
        return true;
    }
    return TComponent::ReadProperty(name, value, reader);
}

void TmnResourceStrData::Register() {
    RegisterComponentClass(L"TmnResourceStrData", [](TComponent* owner) { return new TmnResourceStrData(owner); });
}

String BuiltInSkinText(std::wstring_view key) {
    for (const BuiltIn& b : kBuiltIn)
        if (b.key == key) return b.text;
    return String();
}

std::wstring_view ButtonHintKey(int command) {
    switch (command) {
        case 0: return skinstr::CLOSEBUTTON_HINT;
        case 1: return skinstr::MAXBUTTON_HINT;
        case 2: return skinstr::MINBUTTON_HINT;
        case 3: return skinstr::MENUBUTTON_HINT;
        case 5: return skinstr::ROLLUPBUTTON_HINT;
        case 6: return skinstr::TRAYBUTTON_HINT;
        default: return {};
    }
}

}  // namespace fn
