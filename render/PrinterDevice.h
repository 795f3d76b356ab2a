#pragma once
// The printer as the core sees it: paper, orientation, page measures and the
// print job. The Qt/CUPS back end lives in platform/; tests use a fake.

#include <string>

namespace quillet {

class Surface;

/// Page measures in twips (1/1440 inch), as the printer reports them for its
/// current paper and orientation.
struct PrinterPage {
    int paperWidthTwips = 0;
    int paperHeightTwips = 0;
    int printableWidthTwips = 0;
    int printableHeightTwips = 0;
};

/// Maps picture, a surface that shows the whole sheet (the preview's page, a
/// page image), so that 0 is the printable area's corner, as on the printer.
/// It takes the sheet's own size, not PageW and PageH: those are whole
/// millimetres, and Letter is 215.9 mm wide. An unmeasured sheet maps nothing.
void mapWholeSheet(Surface &picture, const PrinterPage &sheet, float offXMm, float offYMm);

/// The Windows paper code of a paper of any size.
constexpr int CustomPaperCode = 256;
/// Paper sizes travel in tenths of a millimetre as signed 16-bit numbers.
constexpr int MaxCustomPaperMm = 3276;

/// Result codes of applying a custom paper size.
enum CustomPaperResult : int {
    CustomPaperApplied = 0,
    PrinterNotOpened = 10,
    PrinterSettingsUnreadable = 20,
    PaperSizeRefused = 30,
};

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    /// Makes the device print on, and measure, the system's default printer.
    virtual void followDefault() = 0;
    virtual std::string deviceName() const = 0;

    /// 1 portrait, 2 landscape; false when the printer refuses the value.
    virtual bool setOrientation(int code) = 0;
    virtual int orientation() const = 0;
    /// Windows paper codes (9 = A4); false when the printer refuses the code.
    virtual bool setPaperSize(int code) = 0;
    virtual int paperSize() const = 0;
    virtual CustomPaperResult setCustomPaper(int widthMm, int heightMm) = 0;

    virtual PrinterPage page() const = 0;

    /// The surface of the current print job; the job starts on first use.
    virtual Surface &surface() = 0;
    virtual void newPage() = 0;
    /// Finishes the job and hands it to the printer; a job without pages is dropped.
    virtual void endDoc() = 0;
    /// Discards the job: nothing of it reaches the printer.
    virtual void killDoc() = 0;
};

} // namespace quillet
