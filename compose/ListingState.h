#pragma once
// The module-wide state of the listing being composed, previewed or printed.
// Deliberately free of Qt: the spool, composition and rendering core reads and
// writes it without a display.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace quillet {

class Quillet;
class Surface;
class Picture;

/// One column of a column table, both edges in millimetres from the left margin.
struct Column {
    float ColLeft = 0;  ///< left edge
    float ColRight = 0; ///< right edge
};

constexpr int MaxColumns = 20;
constexpr int MaxImages = 200;
constexpr int16_t MaxPages = 32767;

/// What every command reads and writes: mode, options, pages, geometry, cursor,
/// columns, pictures and spool. Lengths are millimetres.
struct ListingState {
    // Control and mode
    Quillet *ActiveCtl = nullptr; ///< the instance whose method runs
    QWidget *ParentWin = nullptr; ///< the host's window, disabled while composing
    ::quillet::Surface *Surface = nullptr; ///< the preview page surface or the printer
    bool Preview = false; ///< direct mode is the initial state
    bool Spooling = false; ///< commands are recorded in the spool file
    std::string ListName; ///< UTF-8, trimmed
    float Zoom = 1.0f; ///< the preview's zoom, 1 = 100 %

    // Options of Init
    bool ShowSetup = true;  ///< Init's cSETUP: printer set-up button
    bool ShowSelPag = true; ///< Init's cSELPAG: page-range choice
    bool ShowPrint = true;  ///< Init's cPRINT: print button
    bool ShowFind = true;   ///< Init's cFIND: find button
    bool ShowPdf = true; ///< a property of the component: Init leaves it alone
    bool PdfArchive = false; ///< a property of the component: saved PDFs are PDF/A-1b
    bool RememberPrintChoices = true; ///< a property of the component: the print dialog keeps the user's choices
    bool ShowCancel = true; ///< Init's cCANCEL: Cancel on the wait dialog
    bool CanShow = false;   ///< Init's CanShow: Cancel shows what was composed
    bool ASizeOn = true;    ///< Init's ASize
    bool ShowWait = true;   ///< not Init's NoDialog: the wait dialog is shown
    int16_t PaperW = 0; ///< custom paper, millimetres
    int16_t PaperH = 0; ///< custom paper, millimetres
    uint8_t PrtOri = 1;    ///< 1 portrait, 2 landscape
    int16_t PrtPaper = 9;  ///< Windows paper code; 256 custom; -1 keeps the printer's paper

    // End of a listing
    bool AbortPrtFlag = false; ///< set through AbortPRT
    bool PrtCancel = false;    ///< Cancel was pressed on the wait dialog

    // Pages
    int16_t CurPage = 1;  ///< the page composed, shown or printed, from 1
    int16_t NumPages = 0; ///< the page count, fixed by Show

    // Page geometry, millimetres
    float PageW = 0;     ///< paper width
    float PageH = 0;     ///< paper height
    float OffX = 0;      ///< unprintable border, left and right
    float OffY = 0;      ///< unprintable border, top and bottom
    float LeftMarg = 0;  ///< margin from the printable area's left edge
    float TopMarg = 0;   ///< margin from the printable area's top edge
    float RightMarg = 0; ///< margin from the printable area's right edge
    float BotMarg = 0;   ///< margin from the printable area's bottom edge
    float UseW = 0;      ///< usable width between the margins
    float UseH = 0;      ///< usable height between the margins

    // Cursor, millimetres from the corner of the printable area
    float CursorX = 0; ///< print position across
    float CursorY = 0; ///< print position down: the print line

    // Layout state
    bool FixX = false; ///< texts leave the cursor in place across
    bool FixY = true;  ///< texts leave the cursor in place down
    int16_t AlignMode = 0; ///< 0 until the first Init
    std::array<Column, MaxColumns> Cols{}; ///< the column table, NumCols in use
    int16_t NumCols = 0;                   ///< columns defined, 0 to 20
    std::array<std::shared_ptr<const Picture>, MaxImages> Imgs{}; ///< pictures by number - 1
    int16_t NumImgs = 0;                                          ///< pictures registered, 0 to 200

    // Spool
    std::string SpoolPath; ///< empty in direct mode
    int SpoolNum = 0;      ///< handle of the open spool file, 0 when none is open
    /// Entry i-1 holds the slot (numbered from 1) at which page i starts.
    std::vector<int32_t> PageIndex;
};

} // namespace quillet
