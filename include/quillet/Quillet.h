#pragma once
// Quillet: a print-and-preview component. Place it on a window, open a listing
// with Init, compose it call by call and end it with Show or Abort.
//
// Lengths are millimetres: positions from the top and left margins, sizes as
// given. Font sizes are points. Colours are 0xBBGGRR. A position argument of
// -1 (or any negative value) means the current print position. No method ever
// throws or reports an error, except Init's result code.

#include <quillet/quillet_export.h>

#include <QImage>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <memory>

namespace quillet {

class QuilletPrivate;

/// The print-and-preview component: one widget per host window; every instance
/// works on the process's one listing.
class QUILLET_EXPORT Quillet : public QWidget {
    Q_OBJECT
    /// Whether the preview shows its "Guardar como PDF..." button (true by default).
    Q_PROPERTY(bool ShowPdf READ ShowPdf WRITE setShowPdf)
    /// Whether the PDF files saved are PDF/A-1b, for archiving (false by default).
    Q_PROPERTY(bool PdfArchive READ PdfArchive WRITE setPdfArchive)
    /// Whether the print dialog opens on the printer, two-sided printing,
    /// colour and printer's options the user chose before, also in earlier
    /// runs of the program (true by default).
    Q_PROPERTY(bool RememberPrintChoices READ RememberPrintChoices WRITE setRememberPrintChoices)
    /// Whether a listing printed directly knows its page count (false by default).
    Q_PROPERTY(bool DirectPageCount READ DirectPageCount WRITE setDirectPageCount)
public:
    explicit Quillet(QWidget *parent = nullptr);
    ~Quillet() override;

    // --- Opening and ending a listing -----------------------------------
    /// Opens a listing. PrtScreen "P"/"PRT" prints directly, anything else
    /// previews. POri "P"/"L" (or 1/2), PPaper "A4", "A3", "LETTER", "LEGAL",
    /// a Windows paper code, 256 for NPW x NPH millimetres (the page as
    /// printed, in either orientation), -1 to keep the printer's paper; an
    /// invalid QVariant keeps the printer's setting.
    /// Returns 0 when the listing is open, else the sum of the failure codes:
    /// 1 orientation, 2 paper, 3 spool file, 10/20/30 custom paper. A listing
    /// still open, even one being previewed or printed, ends first, as Abort
    /// would end it; after a failure no listing is open and ParentWin stays
    /// enabled. May be called from the host's code running inside the
    /// preview or any of its dialogs: they close, and the earlier Show
    /// returns.
    quint8 Init(QWidget *ParentWin, const QString &LName = QString(),
                const QVariant &PrtScreen = QStringLiteral("S"), const QVariant &POri = QStringLiteral("P"),
                const QVariant &PPaper = QStringLiteral("A4"), bool cSETUP = true, bool cSELPAG = true,
                bool cPRINT = true, bool cFIND = true, bool ASize = true, bool cCANCEL = true,
                bool CanShow = false, bool NoDialog = false, int NPW = 0, int NPH = 0);
    /// Ends composition: opens the preview (returns when it closes) or, when
    /// printing directly, sends the job to the printer. Called again while the
    /// preview is open, it does nothing.
    void Show();
    /// Throws the listing away; a direct print job is discarded.
    void Abort();
    /// Writes pages fromPage..toPage (-1: the last) of the composed listing to
    /// a PDF file at path, without showing anything; false when nothing was
    /// written. Call it after composing, before or instead of Show. With
    /// PdfArchive set the file is PDF/A-1b: every font embedded, the listing's
    /// name as its title and its creation date in the metadata. The file
    /// appears whole or not at all; a symbolic link at path is replaced, never
    /// written through (in a shared folder such as /tmp, a link of another
    /// user's cannot be replaced: false).
    bool SavePDF(const QString &path, int fromPage = 1, int toPage = -1);
    /// The same for pages typed as in a print dialog: "1-3,7,10-" (order kept,
    /// "-5" = 1 to 5, "10-" = 10 to the last, numbers clamped to the pages);
    /// false for a text that is not such a list.
    bool SavePDF(const QString &path, const QString &pages);
    /// The same with the pages arranged on the sheets of the listing's paper:
    /// PagesPerSheet 2 or 4 on each side (1: as SavePDF), each page scaled
    /// to its half or quarter of the printable area, turned a quarter
    /// anticlockwise where it is larger so, centred, its proportions kept.
    /// Booklet puts two pages on each side in the order that, printed on both
    /// sides turned on the short edge, folded in the middle and stacked, reads
    /// 1, 2, 3...; blank pages make the count a multiple of four, and
    /// PagesPerSheet does not count. pages as in SavePDF, empty for all.
    /// pageWritten counts the file's sides of sheets. False when nothing was
    /// written, and for PagesPerSheet other than 1, 2 or 4.
    bool SavePDFSheets(const QString &path, int PagesPerSheet, bool Booklet = false,
                       const QString &pages = QString());
    /// Writes every page of the composed listing as folder/page-0001.png ...,
    /// drawn as the preview draws them at zoomPercent (100: 96 dots per inch).
    /// Call it after composing, before or instead of Show. Returns why it
    /// stopped, empty when every page was written. Links at the pages' names
    /// are treated as SavePDF treats one at its path.
    QString SavePageImages(const QString &folder, int zoomPercent = 100);
    /// Whether the preview shows its "Guardar como PDF..." button.
    bool ShowPdf() const;
    /// Shows or hides the preview's "Guardar como PDF..." button.
    void setShowPdf(bool value);
    /// Whether SavePDF and the preview's "Guardar como PDF..." write PDF/A-1b.
    bool PdfArchive() const;
    /// Makes SavePDF and the preview's "Guardar como PDF..." write PDF/A-1b
    /// (true) or plain PDF (false); Init leaves it as it is.
    void setPdfArchive(bool value);
    /// Whether the print dialog remembers the user's choices.
    bool RememberPrintChoices() const;
    /// Makes the print dialog remember the user's choices per printer (true),
    /// kept with QSettings under the program's organisation and application
    /// names, or leaves the printer as the program set it up (false).
    void setRememberPrintChoices(bool value);
    /// Whether listings opened with PrtScreen "P" print the page count.
    bool DirectPageCount() const;
    /// With true, a listing opened with PrtScreen "P" is composed as for the
    /// preview (recorded, with the wait dialog) and Show prints all its pages
    /// with the print progress dialog instead of previewing, the page-count
    /// marker resolved; nothing reaches the printer before Show. With false
    /// (the default) each page goes to the printer as it is composed and the
    /// page count prints as "*". Init reads it: an open listing keeps its way.
    void setDirectPageCount(bool value);
    /// The pages of the listing: those composed so far while composing.
    int pageCount() const;
    /// Lets the windows run; false once the listing has been ended (the host stops composing).
    bool Wait();
    /// True once the listing was aborted through setAbortPRT.
    bool AbortPRT() const;
    /// Setting it aborts the listing; true leaves the host's window disabled.
    void setAbortPRT(bool value);

    // --- Cursor, lines, pages and margins --------------------------------
    /// New line: the cursor goes down one line of the current font (Skip 0)
    /// or Skip millimetres (negative: up), back to the left margin.
    void PNL(float Skip = 0);
    /// New page: the cursor at the margins' corner, and the page defaults again
    /// (10 mm margins, black, no fill, Times New Roman 12, no columns).
    void PNP();
    /// Margins from the paper's edges (the printer's unprintable border is taken
    /// off); the cursor goes to their top-left corner.
    void PMargins(float TMarg, float LMarg, float BMarg, float RMarg);
    float mx();  ///< usable width between the margins
    float MY();  ///< usable height between the margins
    float PW();  ///< paper width, whole millimetres, as the page is printed
    float PH();  ///< paper height, whole millimetres, as the page is printed
    /// The cursor's distance from the left margin.
    float CurX();
    /// The cursor's distance from the top margin: the print line.
    float CurY();

    // --- Text ------------------------------------------------------------
    /// Centres a text between PosX and MaxX (-1: the margins) on line PosY.
    void C(const QString &StrToPrint, float PosY = -1, float PosX = -1, float MaxX = -1);
    /// A text starting at PosX; a Wid above 0 cuts it to that width with "...".
    void L(const QString &StrToPrint, float PosY = -1, float PosX = -1, float Wid = 0);
    /// A text ending at PosX; a Wid above 0 cuts it to that width with "...".
    void R(const QString &StrToPrint, float PosY = -1, float PosX = -1, float Wid = 0);
    /// Draws one justified line of a paragraph; returns what did not fit.
    QString M(const QString &StrToPrint, float PosY = -1, float PosX = -1, float MaxX = -1);

    // --- Columns (numbered from 1, at most 20) ----------------------------
    /// Adds a column cx millimetres wide at PosX from the left margin.
    void NewCol(float PosX, float cx);
    /// Removes every column.
    void ClsCols();
    /// A text centred in column NCol, cut with "..." to the column when TRUNC.
    void CCol(int NCol, const QString &StrToPrint, float PosY = -1, bool TRUNC = true);
    /// A text AddX millimetres right of column NCol's left edge, cut when TRUNC.
    void LCol(int NCol, const QString &StrToPrint, float AddX = 0, float PosY = -1, bool TRUNC = true);
    /// A text ending SubX millimetres left of column NCol's right edge, cut when TRUNC.
    void RCol(int NCol, const QString &StrToPrint, float SubX = 0, float PosY = -1, bool TRUNC = true);

    // --- Fonts, alignment and metrics ------------------------------------
    /// The font of the next texts: name (empty keeps it), size in points (0
    /// keeps it), bold, italic, and a transparent background.
    void PFont(const QString &FTName = QString(), float FTSize = 0, bool FTBold = false, bool FTItalic = false,
               bool FTTrans = true);
    /// 2 bottom on the line, 1 baseline, -1 ascent, -2 top on the line.
    void PAlign(int PAl);
    /// Width of a text in the current font, in millimetres.
    float WX(const QString &StrToSee);
    /// Height of a text (a line) in the current font, in millimetres.
    float WY(const QString &StrToSee);
    /// Lines of the current font that still fit above the bottom margin.
    float NLines();
    /// Whether a text fits in PrtSize millimetres (an equal width fits).
    bool InSize(const QString &StrToSee, float PrtSize);

    // --- Graphics ----------------------------------------------------------
    /// A box with its corner at (x1, y1), x2 wide and y2 high, pen width Expe;
    /// a negative x1 or y1 is the cursor's. A size of 0 draws a line.
    void PBox(float y1, float x1, float y2, float x2, int Expe = 0);
    /// A circle of radius Raio around (PosX, PosY), pen width Expe.
    void PCircle(float PosY, float PosX, float Raio, int Expe = 0);
    /// A line from (x1, y1) to (x2, y2), pen width Expe.
    void PLine(float y1, float x1, float y2, float x2, int Expe = 0);
    /// Colour of later texts, lines and outlines, 0xBBGGRR.
    void PColor(int FColor);
    /// Line style (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5
    /// none, 6 inside solid) and drawing mode (13 copy pen).
    void PDraw(int DStyle = 0, int DMode = 13);
    /// Fill of boxes and circles: colour 0xBBGGRR and style (0 solid, 1 none, 2-7 hatches).
    void PFill(int FColor, int FStyle);
    /// Whether texts leave the cursor where it was: across (FX) and down (FY).
    void PFix(bool FX, bool FY);

    // --- Barcodes ------------------------------------------------------------
    /// A barcode or QR code in a box Height high with its corner at (PosX,
    /// PosY), -1 for the print position. Kind, in any case: QR, DATAMATRIX,
    /// PDF417, CODE128, GS1-128, EAN13, EAN8, UPCA, ITF, ITF14, CODE39. Width
    /// 0 gives a linear code its natural width and a two-dimensional one a
    /// square box. Options, "key=value;...": text=1 (the line under a linear
    /// code), ecc=L|M|Q|H (QR), module=N (millimetres). Returns 0 when drawn; otherwise
    /// nothing is drawn nor recorded: 1 unknown kind, 2 bad options, 3 data
    /// the kind cannot encode, 4 data too long, 5 a module under 0.1 mm, 6 a
    /// bad size, 7 no encoder in this build.
    int PBarcode(const QString &Kind, const QString &Data, float PosY, float PosX, float Height,
                 float Width = 0, const QString &Options = QString());

    // --- Pictures (numbered from 1 in registration order) -------------------
    /// Registers a picture under the next number, from 1 (200 at most).
    void PNewImg(const QImage &IMG);
    /// Draws picture NImg at its natural size with its corner at (PosX, PosY).
    void PDrawImg(int NImg, float PosY, float PosX);

    /// Where the last direct print job went: "<queue>, job <id>" or a PDF file path.
    QString lastOutput() const;

    /// The size of the component's face on the host's window.
    QSize sizeHint() const override;

Q_SIGNALS:
    /// Emitted by SavePDF and SavePageImages after each page they write:
    /// written pages so far (from 1) of pageCount. A slot that ends the
    /// listing stops the save, as if it had failed.
    void pageWritten(int written, int pageCount);

protected:
    /// Paints the component's face.
    void paintEvent(QPaintEvent *event) override;

private:
    // Room for members of later versions without changing the class's size.
    const std::unique_ptr<QuilletPrivate> d;
};

} // namespace quillet
