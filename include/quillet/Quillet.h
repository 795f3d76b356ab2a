#pragma once
// Quillet: a print-and-preview component. Place it on a window, open a listing
// with Init, compose it call by call and end it with Show or Abort.
//
// Lengths are millimetres: positions from the top and left margins, sizes as
// given. Font sizes are points. Colours are 0xBBGGRR. A position argument of
// -1 (or any negative value) means the current print position. No method ever
// throws or reports an error, except Init's result code.

#include <QImage>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace quillet {

class Quillet : public QWidget {
    Q_OBJECT
    /// Whether the preview shows its "Salvar como PDF..." button (true by default).
    Q_PROPERTY(bool ShowPdf READ ShowPdf WRITE setShowPdf)
public:
    explicit Quillet(QWidget *parent = nullptr);
    ~Quillet() override;

    // --- Opening and ending a listing -----------------------------------
    /// Opens a listing. PrtScreen "P"/"PRT" prints directly, anything else
    /// previews. POri "P"/"L" (or 1/2), PPaper "A4", "A3", "LETTER", "LEGAL",
    /// a Windows paper code, 256 for NPW x NPH millimetres, -1 to keep the
    /// printer's paper; an invalid QVariant keeps the printer's setting.
    /// Returns 0 when the listing is open, else the sum of the failure codes:
    /// 1 orientation, 2 paper, 3 spool file, 10/20/30 custom paper.
    quint8 Init(QWidget *ParentWin, const QString &LName = QString(),
                const QVariant &PrtScreen = QStringLiteral("S"), const QVariant &POri = QStringLiteral("P"),
                const QVariant &PPaper = QStringLiteral("A4"), bool cSETUP = true, bool cSELPAG = true,
                bool cPRINT = true, bool cFIND = true, bool ASize = true, bool cCANCEL = true,
                bool CanShow = false, bool NoDialog = false, int NPW = 0, int NPH = 0);
    /// Ends composition: opens the preview (returns when it closes) or, when
    /// printing directly, sends the job to the printer.
    void Show();
    /// Throws the listing away; a direct print job is discarded.
    void Abort();
    /// Writes pages fromPage..toPage (-1: the last) of the composed listing to
    /// a PDF file at path, without showing anything; false when nothing was
    /// written. Call it after composing, before or instead of Show.
    bool SavePDF(const QString &path, int fromPage = 1, int toPage = -1);
    bool ShowPdf() const;
    void setShowPdf(bool value);
    /// Lets the windows run; false once the listing has been ended (the host stops composing).
    bool Wait();
    bool AbortPRT() const;
    /// Setting it aborts the listing; true leaves the host's window disabled.
    void setAbortPRT(bool value);

    // --- Cursor, lines, pages and margins --------------------------------
    void PNL(float Skip = 0);
    void PNP();
    void PMargins(float TMarg, float LMarg, float BMarg, float RMarg);
    float mx();  ///< usable width between the margins
    float MY();  ///< usable height between the margins
    float PW();  ///< paper width
    float PH();  ///< paper height
    float CurX();
    float CurY();

    // --- Text ------------------------------------------------------------
    void C(const QString &StrToPrint, float PosY = -1, float PosX = -1, float MaxX = -1);
    void L(const QString &StrToPrint, float PosY = -1, float PosX = -1, float Wid = 0);
    void R(const QString &StrToPrint, float PosY = -1, float PosX = -1, float Wid = 0);
    /// Draws one justified line of a paragraph; returns what did not fit.
    QString M(const QString &StrToPrint, float PosY = -1, float PosX = -1, float MaxX = -1);

    // --- Columns (numbered from 1, at most 20) ----------------------------
    void NewCol(float PosX, float cx);
    void ClsCols();
    void CCol(int NCol, const QString &StrToPrint, float PosY = -1, bool TRUNC = true);
    void LCol(int NCol, const QString &StrToPrint, float AddX = 0, float PosY = -1, bool TRUNC = true);
    void RCol(int NCol, const QString &StrToPrint, float SubX = 0, float PosY = -1, bool TRUNC = true);

    // --- Fonts, alignment and metrics ------------------------------------
    void PFont(const QString &FTName = QString(), float FTSize = 0, bool FTBold = false, bool FTItalic = false,
               bool FTTrans = true);
    /// 2 bottom on the line, 1 baseline, -1 ascent, -2 top on the line.
    void PAlign(int PAl);
    float WX(const QString &StrToSee);
    float WY(const QString &StrToSee);
    /// Lines of the current font that still fit above the bottom margin.
    float NLines();
    bool InSize(const QString &StrToSee, float PrtSize);

    // --- Graphics ----------------------------------------------------------
    void PBox(float y1, float x1, float y2, float x2, int Expe = 0);
    void PCircle(float PosY, float PosX, float Raio, int Expe = 0);
    void PLine(float y1, float x1, float y2, float x2, int Expe = 0);
    void PColor(int FColor);
    void PDraw(int DStyle = 0, int DMode = 13);
    void PFill(int FColor, int FStyle);
    void PFix(bool FX, bool FY);

    // --- Pictures (numbered from 1 in registration order) -------------------
    void PNewImg(const QImage &IMG);
    void PDrawImg(int NImg, float PosY, float PosX);

    /// Where the last direct print job went: "<queue>, job <id>" or a PDF file path.
    QString lastOutput() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quillet
