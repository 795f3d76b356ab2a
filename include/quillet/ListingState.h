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
    float ColLeft = 0;
    float ColRight = 0;
};

constexpr int MaxColumns = 20;
constexpr int MaxImages = 200;
constexpr int16_t MaxPages = 32767;

struct ListingState {
    // Control and mode
    Quillet *ActiveCtl = nullptr;
    QWidget *ParentWin = nullptr;
    ::quillet::Surface *Surface = nullptr; ///< the preview page surface or the printer
    bool Preview = false; ///< direct mode is the initial state
    bool Spooling = false;
    std::string ListName; ///< UTF-8, trimmed
    float Zoom = 1.0f;

    // Options of Init
    bool ShowSetup = true;
    bool ShowSelPag = true;
    bool ShowPrint = true;
    bool ShowFind = true;
    bool ShowPdf = true; ///< a property of the component: Init leaves it alone
    bool ShowCancel = true;
    bool CanShow = false;
    bool ASizeOn = true;
    bool ShowWait = true;
    int16_t PaperW = 0; ///< custom paper, millimetres
    int16_t PaperH = 0;
    uint8_t PrtOri = 1;    ///< 1 portrait, 2 landscape
    int16_t PrtPaper = 9;  ///< Windows paper code; 256 custom; -1 keeps the printer's paper

    // End of a listing
    bool AbortPrtFlag = false;
    bool PrtCancel = false;

    // Pages
    int16_t CurPage = 1;
    int16_t NumPages = 0;

    // Page geometry, millimetres
    float PageW = 0, PageH = 0;
    float OffX = 0, OffY = 0;
    float LeftMarg = 0, TopMarg = 0, RightMarg = 0, BotMarg = 0;
    float UseW = 0, UseH = 0;

    // Cursor, millimetres from the corner of the printable area
    float CursorX = 0, CursorY = 0;

    // Layout state
    bool FixX = false, FixY = true;
    int16_t AlignMode = 0; ///< 0 until the first Init
    std::array<Column, MaxColumns> Cols{};
    int16_t NumCols = 0;
    std::array<std::shared_ptr<const Picture>, MaxImages> Imgs{};
    int16_t NumImgs = 0;

    // Spool
    std::string SpoolPath; ///< empty in direct mode
    int SpoolNum = 0;      ///< handle of the open spool file, 0 when none is open
    /// Entry i-1 holds the slot (numbered from 1) at which page i starts.
    std::vector<int32_t> PageIndex;
};

/// The listing state shared by every Quillet instance of the process (read-only view).
const ListingState &state();

} // namespace quillet
