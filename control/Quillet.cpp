#include "quillet/Quillet.h"

#include "compose/Composer.h"
#include "control/Lifecycle.h"
#include "control/QuilletPrivate.h"
#include "control/Listing.h"
#include "control/ResumeOnError.h"
#include "control/Runtime.h"
#include "platform/ImagePicture.h"
#include "platform/QtPrinterDevice.h"
#include "print/PageImages.h"
#include "print/PageList.h"
#include "print/PdfExport.h"
#include "render/SheetLayout.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

namespace quillet {

namespace {

Composer composer()
{
    return Composer(session());
}

std::string utf8(const QString &text)
{
    return text.toStdString();
}

constexpr QSize FaceSize(32, 32);

/// Tells the component's host of each page written, through its signal.
PageWritten emitting(Quillet *control)
{
    return [control](int written, int count) { emit control->pageWritten(written, count); };
}

/// Saves the pages that pagesOf picks out of the listing's page count, on sheets.
bool savePdf(const QString &path, const std::function<PageList(int pageCount)> &pagesOf,
             const PageWritten &pageWritten, const SheetArrangement &sheets = {})
{
    // Held: a host told of a page may open its next listing meanwhile.
    const std::shared_ptr<Listing> held = Runtime::instance().listingHandle();
    Session &listing = held->session();
    return PdfExport::save(path, pagesOf(pageCount(listing.state)), listing,
                           Runtime::instance().printer().printer().pageLayout(), sheets, nullptr, {},
                           pageWritten);
}

} // namespace

Quillet::Quillet(QWidget *parent) : QWidget(parent), d(std::make_unique<QuilletPrivate>())
{
    setFixedSize(FaceSize);
}

Quillet::~Quillet()
{
    // The listing cannot outlive the component that opened it: its spool file
    // would stay on disk until the next listing or the end of the process. A
    // component destroyed after the application object (a static one) leaves
    // that to the session's own end, since no window may be touched then.
    if (session().state.ActiveCtl == this && QCoreApplication::instance()) {
        resumeOnError(this, [] { lifecycle::Abort(); });
        session().state.ActiveCtl = nullptr;
    }
}

QSize Quillet::sizeHint() const
{
    return FaceSize;
}

void Quillet::paintEvent(QPaintEvent *)
{
    // The design-time face: a sheet with a few lines of print.
    QPainter painter(this);
    const QRect sheet = rect().adjusted(6, 2, -6, -2);
    painter.fillRect(sheet, Qt::white);
    painter.setPen(Qt::darkGray);
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    for (int y = sheet.top() + 5; y < sheet.bottom() - 3; y += 4)
        painter.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
}

quint8 Quillet::Init(QWidget *ParentWin, const QString &LName, const QVariant &PrtScreen, const QVariant &POri,
                     const QVariant &PPaper, bool cSETUP, bool cSELPAG, bool cPRINT, bool cFIND, bool ASize,
                     bool cCANCEL, bool CanShow, bool NoDialog, int NPW, int NPH)
{
    return resumeOnError(this, quint8(0), [&] {
        return lifecycle::Init({ParentWin, LName, PrtScreen, POri, PPaper, cSETUP, cSELPAG, cPRINT, cFIND, ASize,
                                cCANCEL, CanShow, NoDialog, NPW, NPH});
    });
}

void Quillet::Show()
{
    resumeOnError(this, [] { lifecycle::Show(); });
}

void Quillet::Abort()
{
    resumeOnError(this, [] { lifecycle::Abort(); });
}

bool Quillet::Wait()
{
    return resumeOnError(this, true, [] { return lifecycle::Wait(); });
}

bool Quillet::AbortPRT() const
{
    return session().state.AbortPrtFlag;
}

void Quillet::setAbortPRT(bool value)
{
    resumeOnError(this, [value] {
        session().state.AbortPrtFlag = value;
        lifecycle::Abort();
    });
}

bool Quillet::SavePDF(const QString &path, int fromPage, int toPage)
{
    return resumeOnError(this, false, [&] {
        return savePdf(
            path, [=](int count) { return PageList::range(fromPage, toPage, count); }, emitting(this));
    });
}

bool Quillet::SavePDF(const QString &path, const QString &pages)
{
    return resumeOnError(this, false, [&] {
        return savePdf(
            path, [&](int count) { return PageList::parse(pages.toStdString(), count); }, emitting(this));
    });
}

bool Quillet::SavePDFSheets(const QString &path, int PagesPerSheet, bool Booklet, const QString &pages)
{
    return resumeOnError(this, false, [&] {
        if (!SheetArrangement::isValidPagesPerSheet(PagesPerSheet))
            return false;
        const auto pagesOf = [&](int count) {
            return pages.isEmpty() ? PageList::range(1, count, count) : PageList::parse(pages.toStdString(), count);
        };
        return savePdf(path, pagesOf, emitting(this), {PagesPerSheet, Booklet});
    });
}

QString Quillet::SavePageImages(const QString &folder, int zoomPercent)
{
    return resumeOnError(this, QStringLiteral("the pages could not be drawn"), [&] {
        const std::shared_ptr<Listing> held = Runtime::instance().listingHandle(); // as SavePDF holds it
        return savePageImages(held->session(), folder, zoomPercent, emitting(this)).error;
    });
}

bool Quillet::ShowPdf() const
{
    return session().state.ShowPdf;
}

void Quillet::setShowPdf(bool value)
{
    session().state.ShowPdf = value;
}

bool Quillet::PdfArchive() const
{
    return session().state.PdfArchive;
}

void Quillet::setPdfArchive(bool value)
{
    session().state.PdfArchive = value;
}

bool Quillet::RememberPrintChoices() const
{
    return session().state.RememberPrintChoices;
}

void Quillet::setRememberPrintChoices(bool value)
{
    session().state.RememberPrintChoices = value;
}

bool Quillet::DirectPageCount() const
{
    return session().state.DirectPageCount;
}

void Quillet::setDirectPageCount(bool value)
{
    session().state.DirectPageCount = value;
}

int Quillet::pageCount() const
{
    return quillet::pageCount(session().state);
}

QString Quillet::lastOutput() const
{
    return resumeOnError(const_cast<Quillet *>(this), QString(),
                         [] { return Runtime::instance().printer().lastOutput(); });
}

void Quillet::PNL(float Skip)
{
    resumeOnError(this, [=] { composer().PNL(Skip); });
}

void Quillet::PNP()
{
    resumeOnError(this, [] { composer().PNP(); });
}

void Quillet::PMargins(float TMarg, float LMarg, float BMarg, float RMarg)
{
    resumeOnError(this, [=] { composer().PMargins(TMarg, LMarg, BMarg, RMarg); });
}

float Quillet::mx()
{
    return resumeOnError(this, 0.0f, [] { return composer().mx(); });
}

float Quillet::MY()
{
    return resumeOnError(this, 0.0f, [] { return composer().MY(); });
}

float Quillet::PW()
{
    return resumeOnError(this, 0.0f, [] { return composer().PW(); });
}

float Quillet::PH()
{
    return resumeOnError(this, 0.0f, [] { return composer().PH(); });
}

float Quillet::CurX()
{
    return resumeOnError(this, 0.0f, [] { return composer().CurX(); });
}

float Quillet::CurY()
{
    return resumeOnError(this, 0.0f, [] { return composer().CurY(); });
}

void Quillet::C(const QString &StrToPrint, float PosY, float PosX, float MaxX)
{
    resumeOnError(this, [&] { composer().C(utf8(StrToPrint), PosY, PosX, MaxX); });
}

void Quillet::L(const QString &StrToPrint, float PosY, float PosX, float Wid)
{
    resumeOnError(this, [&] { composer().L(utf8(StrToPrint), PosY, PosX, Wid); });
}

void Quillet::R(const QString &StrToPrint, float PosY, float PosX, float Wid)
{
    resumeOnError(this, [&] { composer().R(utf8(StrToPrint), PosY, PosX, Wid); });
}

QString Quillet::M(const QString &StrToPrint, float PosY, float PosX, float MaxX)
{
    return resumeOnError(this, QString(), [&] {
        return QString::fromStdString(composer().M(utf8(StrToPrint), PosY, PosX, MaxX));
    });
}

void Quillet::NewCol(float PosX, float cx)
{
    resumeOnError(this, [=] { composer().NewCol(PosX, cx); });
}

void Quillet::ClsCols()
{
    resumeOnError(this, [] { composer().ClsCols(); });
}

void Quillet::CCol(int NCol, const QString &StrToPrint, float PosY, bool TRUNC)
{
    resumeOnError(this, [&] { composer().CCol(NCol, utf8(StrToPrint), PosY, TRUNC); });
}

void Quillet::LCol(int NCol, const QString &StrToPrint, float AddX, float PosY, bool TRUNC)
{
    resumeOnError(this, [&] { composer().LCol(NCol, utf8(StrToPrint), AddX, PosY, TRUNC); });
}

void Quillet::RCol(int NCol, const QString &StrToPrint, float SubX, float PosY, bool TRUNC)
{
    resumeOnError(this, [&] { composer().RCol(NCol, utf8(StrToPrint), SubX, PosY, TRUNC); });
}

void Quillet::PFont(const QString &FTName, float FTSize, bool FTBold, bool FTItalic, bool FTTrans)
{
    resumeOnError(this, [&] { composer().PFont(utf8(FTName), FTSize, FTBold, FTItalic, FTTrans); });
}

void Quillet::PAlign(int PAl)
{
    resumeOnError(this, [=] { composer().PAlign(PAl); });
}

float Quillet::WX(const QString &StrToSee)
{
    return resumeOnError(this, 0.0f, [&] { return composer().WX(utf8(StrToSee)); });
}

float Quillet::WY(const QString &StrToSee)
{
    return resumeOnError(this, 0.0f, [&] { return composer().WY(utf8(StrToSee)); });
}

float Quillet::NLines()
{
    return resumeOnError(this, 0.0f, [] { return composer().NLines(); });
}

bool Quillet::InSize(const QString &StrToSee, float PrtSize)
{
    return resumeOnError(this, false, [&] { return composer().InSize(utf8(StrToSee), PrtSize); });
}

void Quillet::PBox(float y1, float x1, float y2, float x2, int Expe)
{
    resumeOnError(this, [=] { composer().PBox(y1, x1, y2, x2, Expe); });
}

void Quillet::PCircle(float PosY, float PosX, float Raio, int Expe)
{
    resumeOnError(this, [=] { composer().PCircle(PosY, PosX, Raio, Expe); });
}

void Quillet::PLine(float y1, float x1, float y2, float x2, int Expe)
{
    resumeOnError(this, [=] { composer().PLine(y1, x1, y2, x2, Expe); });
}

void Quillet::PColor(int FColor)
{
    resumeOnError(this, [=] { composer().PColor(FColor); });
}

void Quillet::PDraw(int DStyle, int DMode)
{
    resumeOnError(this, [=] { composer().PDraw(DStyle, DMode); });
}

void Quillet::PFill(int FColor, int FStyle)
{
    resumeOnError(this, [=] { composer().PFill(FColor, FStyle); });
}

void Quillet::PFix(bool FX, bool FY)
{
    resumeOnError(this, [=] { composer().PFix(FX, FY); });
}

int Quillet::PBarcode(const QString &Kind, const QString &Data, float PosY, float PosX, float Height,
                      float Width, const QString &Options)
{
    constexpr int NotDrawn = 3; // an error on the way: what data that cannot be encoded gives
    return resumeOnError(this, NotDrawn, [&] {
        return composer().PBarcode(utf8(Kind), utf8(Data), PosY, PosX, Height, Width, utf8(Options));
    });
}

void Quillet::PNewImg(const QImage &IMG)
{
    // Even a null image takes its number: the host counts its own calls.
    resumeOnError(this, [&] { composer().PNewImg(std::make_shared<ImagePicture>(IMG)); });
}

void Quillet::PDrawImg(int NImg, float PosY, float PosX)
{
    resumeOnError(this, [=] { composer().PDrawImg(NImg, PosY, PosX); });
}

} // namespace quillet
