// The C interface: a handle around one Quillet widget. Every function checks
// its handle and catches everything, so no C++ exception reaches C.

#include "quillet/quillet.h"

#include "base/ErrorsIgnored.h"
#include "platform/QtPlatformChoice.h"
#include "quillet/Quillet.h"

#include <QApplication>
#include <QImage>

#include <memory>
#include <string>

struct quillet_handle {
    std::unique_ptr<quillet::Quillet> control;
    // The strings handed back to C live here until the next call.
    std::string rest;
    std::string lastOutput;
};

namespace {

using quillet::ignoringErrors;

/// The process's QApplication, created for hosts that have none (C, Python).
bool ensureApplication()
{
    if (QCoreApplication::instance())
        return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
    // A display that is missing or no longer answers would make QApplication
    // end the host's process: the list ends in offscreen, which still
    // composes, saves PDF files and prints.
    quillet::choosePlatformsUnlessHostDid(quillet::desktopPlatforms());
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "quillet";
    static char *argv[] = {name, nullptr};
    // Deliberately never deleted: it must outlive every handle and the
    // component's windows, which live until the process ends.
    new QApplication(argc, argv);
    return true;
}

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

/// A C++ default for a missing (NULL) argument, a missing QVariant for "".
QVariant optionalArgument(const char *utf8, const char *defaultValue)
{
    if (!utf8)
        return QString::fromLatin1(defaultValue);
    return *utf8 ? QVariant(QString::fromUtf8(utf8)) : QVariant();
}

template <typename Result, typename Body> Result call(quillet_t *q, Result fallback, Body &&body) noexcept
{
    if (!q || !q->control)
        return fallback;
    return ignoringErrors(fallback, [&] { return body(*q->control); });
}

template <typename Body> void call(quillet_t *q, Body &&body) noexcept
{
    call(q, 0, [&](quillet::Quillet &control) {
        body(control);
        return 0;
    });
}

/// A C argument as the component takes it: a NULL text as an empty one, an int as a flag.
template <typename Value> Value converted(Value value)
{
    return value;
}
QString converted(const char *value)
{
    return text(value);
}

/// Calls one of the component's composition commands with the C arguments.
template <typename Result, typename... Params, typename... CArguments>
void forward(quillet_t *q, Result (quillet::Quillet::*command)(Params...), CArguments... arguments) noexcept
{
    call(q, [&](quillet::Quillet &control) { (control.*command)(converted(arguments)...); });
}

/// Copies text into the handle's storage and returns it as a C string.
const char *keep(std::string &storage, const QString &value)
{
    storage = value.toStdString();
    return storage.c_str();
}

QImage rgbaImage(const unsigned char *rgba, int width, int height, int stride)
{
    constexpr qint64 largestSide = 32767;
    if (!rgba || width <= 0 || height <= 0 || width > largestSide || height > largestSide ||
        stride < qint64(width) * 4)
        return QImage();
    return QImage(rgba, width, height, stride, QImage::Format_RGBA8888).copy();
}

} // namespace

extern "C" {

quillet_t *quillet_create(void)
{
    return ignoringErrors(static_cast<quillet_t *>(nullptr), []() -> quillet_t * {
        if (!ensureApplication())
            return nullptr;
        auto handle = std::make_unique<quillet_handle>();
        handle->control = std::make_unique<quillet::Quillet>();
        return handle.release();
    });
}

void quillet_destroy(quillet_t *q)
{
    ignoringErrors([q] { delete q; });
}

int quillet_init(quillet_t *q, const char *name, const char *mode, const char *orientation, const char *paper,
                 unsigned flags, int width_mm, int height_mm)
{
    return call(q, -1, [&](quillet::Quillet &control) {
        const auto on = [flags](unsigned flag) { return (flags & flag) != 0; };
        return int(control.Init(nullptr, text(name), optionalArgument(mode, "S"),
                                optionalArgument(orientation, "P"), optionalArgument(paper, "A4"),
                                on(QUILLET_SETUP), on(QUILLET_SELPAG), on(QUILLET_PRINT), on(QUILLET_FIND),
                                on(QUILLET_ASIZE), on(QUILLET_CANCEL), on(QUILLET_CANSHOW),
                                on(QUILLET_NODIALOG), width_mm, height_mm));
    });
}

void quillet_show(quillet_t *q)
{
    call(q, [](quillet::Quillet &control) { control.Show(); });
}

void quillet_abort(quillet_t *q)
{
    call(q, [](quillet::Quillet &control) { control.Abort(); });
}

int quillet_wait(quillet_t *q)
{
    return call(q, 0, [](quillet::Quillet &control) { return int(control.Wait()); });
}

int quillet_abort_prt(quillet_t *q)
{
    return call(q, 0, [](quillet::Quillet &control) { return int(control.AbortPRT()); });
}

void quillet_set_abort_prt(quillet_t *q, int value)
{
    call(q, [=](quillet::Quillet &control) { control.setAbortPRT(value != 0); });
}

int quillet_save_pdf(quillet_t *q, const char *path, int from_page, int to_page)
{
    return call(q, 0, [&](quillet::Quillet &control) {
        return int(control.SavePDF(text(path), from_page, to_page));
    });
}

int quillet_save_pdf_pages(quillet_t *q, const char *path, const char *pages)
{
    return call(q, 0,
                [&](quillet::Quillet &control) { return int(control.SavePDF(text(path), text(pages))); });
}

int quillet_save_pdf_sheets(quillet_t *q, const char *path, int pages_per_sheet, int booklet,
                            const char *pages)
{
    return call(q, 0, [&](quillet::Quillet &control) {
        return int(control.SavePDFSheets(text(path), pages_per_sheet, booklet != 0, text(pages)));
    });
}

int quillet_show_pdf(quillet_t *q)
{
    return call(q, 0, [](quillet::Quillet &control) { return int(control.ShowPdf()); });
}

void quillet_set_show_pdf(quillet_t *q, int value)
{
    call(q, [=](quillet::Quillet &control) { control.setShowPdf(value != 0); });
}

int quillet_pdf_archive(quillet_t *q)
{
    return call(q, 0, [](quillet::Quillet &control) { return int(control.PdfArchive()); });
}

void quillet_set_pdf_archive(quillet_t *q, int value)
{
    call(q, [=](quillet::Quillet &control) { control.setPdfArchive(value != 0); });
}

int quillet_remember_print_choices(quillet_t *q)
{
    return call(q, 0, [](quillet::Quillet &control) { return int(control.RememberPrintChoices()); });
}

void quillet_set_remember_print_choices(quillet_t *q, int value)
{
    call(q, [=](quillet::Quillet &control) { control.setRememberPrintChoices(value != 0); });
}

int quillet_direct_page_count(quillet_t *q)
{
    return call(q, 0, [](quillet::Quillet &control) { return int(control.DirectPageCount()); });
}

void quillet_set_direct_page_count(quillet_t *q, int value)
{
    call(q, [=](quillet::Quillet &control) { control.setDirectPageCount(value != 0); });
}

const char *quillet_last_output(quillet_t *q)
{
    return call(q, static_cast<const char *>(nullptr),
                [q](quillet::Quillet &control) { return keep(q->lastOutput, control.lastOutput()); });
}

void quillet_pnl(quillet_t *q, float skip)
{
    forward(q, &quillet::Quillet::PNL, skip);
}

void quillet_pnp(quillet_t *q)
{
    forward(q, &quillet::Quillet::PNP);
}

void quillet_pmargins(quillet_t *q, float top, float left, float bottom, float right)
{
    forward(q, &quillet::Quillet::PMargins, top, left, bottom, right);
}

float quillet_mx(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.mx(); });
}

float quillet_my(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.MY(); });
}

float quillet_pw(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.PW(); });
}

float quillet_ph(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.PH(); });
}

float quillet_curx(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.CurX(); });
}

float quillet_cury(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.CurY(); });
}

void quillet_c(quillet_t *q, const char *str, float pos_y, float pos_x, float max_x)
{
    forward(q, &quillet::Quillet::C, str, pos_y, pos_x, max_x);
}

void quillet_l(quillet_t *q, const char *str, float pos_y, float pos_x, float width)
{
    forward(q, &quillet::Quillet::L, str, pos_y, pos_x, width);
}

void quillet_r(quillet_t *q, const char *str, float pos_y, float pos_x, float width)
{
    forward(q, &quillet::Quillet::R, str, pos_y, pos_x, width);
}

const char *quillet_m(quillet_t *q, const char *str, float pos_y, float pos_x, float max_x)
{
    return call(q, static_cast<const char *>(nullptr), [&](quillet::Quillet &control) {
        return keep(q->rest, control.M(text(str), pos_y, pos_x, max_x));
    });
}

void quillet_newcol(quillet_t *q, float pos_x, float width)
{
    forward(q, &quillet::Quillet::NewCol, pos_x, width);
}

void quillet_clscols(quillet_t *q)
{
    forward(q, &quillet::Quillet::ClsCols);
}

void quillet_ccol(quillet_t *q, int column, const char *str, float pos_y, int truncate)
{
    forward(q, &quillet::Quillet::CCol, column, str, pos_y, truncate);
}

void quillet_lcol(quillet_t *q, int column, const char *str, float add_x, float pos_y, int truncate)
{
    forward(q, &quillet::Quillet::LCol, column, str, add_x, pos_y, truncate);
}

void quillet_rcol(quillet_t *q, int column, const char *str, float sub_x, float pos_y, int truncate)
{
    forward(q, &quillet::Quillet::RCol, column, str, sub_x, pos_y, truncate);
}

void quillet_pfont(quillet_t *q, const char *name, float size, int bold, int italic, int transparent)
{
    forward(q, &quillet::Quillet::PFont, name, size, bold, italic, transparent);
}

void quillet_palign(quillet_t *q, int alignment)
{
    forward(q, &quillet::Quillet::PAlign, alignment);
}

float quillet_wx(quillet_t *q, const char *str)
{
    return call(q, 0.0f, [&](quillet::Quillet &control) { return control.WX(text(str)); });
}

float quillet_wy(quillet_t *q, const char *str)
{
    return call(q, 0.0f, [&](quillet::Quillet &control) { return control.WY(text(str)); });
}

float quillet_nlines(quillet_t *q)
{
    return call(q, 0.0f, [](quillet::Quillet &control) { return control.NLines(); });
}

int quillet_insize(quillet_t *q, const char *str, float width)
{
    return call(q, 0, [&](quillet::Quillet &control) { return int(control.InSize(text(str), width)); });
}

void quillet_pbox(quillet_t *q, float y1, float x1, float y2, float x2, int thickness)
{
    forward(q, &quillet::Quillet::PBox, y1, x1, y2, x2, thickness);
}

void quillet_pcircle(quillet_t *q, float pos_y, float pos_x, float radius, int thickness)
{
    forward(q, &quillet::Quillet::PCircle, pos_y, pos_x, radius, thickness);
}

void quillet_pline(quillet_t *q, float y1, float x1, float y2, float x2, int thickness)
{
    forward(q, &quillet::Quillet::PLine, y1, x1, y2, x2, thickness);
}

void quillet_pcolor(quillet_t *q, int colour)
{
    forward(q, &quillet::Quillet::PColor, colour);
}

void quillet_pdraw(quillet_t *q, int style, int mode)
{
    forward(q, &quillet::Quillet::PDraw, style, mode);
}

void quillet_pfill(quillet_t *q, int colour, int style)
{
    forward(q, &quillet::Quillet::PFill, colour, style);
}

void quillet_pfix(quillet_t *q, int fix_x, int fix_y)
{
    forward(q, &quillet::Quillet::PFix, fix_x, fix_y);
}

int quillet_pnewimg(quillet_t *q, const char *path)
{
    return call(q, 0, [&](quillet::Quillet &control) {
        const QImage image(text(path));
        control.PNewImg(image);
        return int(!image.isNull());
    });
}

int quillet_pnewimg_rgba(quillet_t *q, const unsigned char *rgba, int width, int height, int stride)
{
    return call(q, 0, [&](quillet::Quillet &control) {
        const QImage image = rgbaImage(rgba, width, height, stride);
        control.PNewImg(image);
        return int(!image.isNull());
    });
}

int quillet_pbarcode(quillet_t *q, const char *kind, const char *data, float pos_y, float pos_x, float height,
                     float width, const char *options)
{
    return call(q, -1, [&](quillet::Quillet &control) {
        return control.PBarcode(text(kind), text(data), pos_y, pos_x, height, width, text(options));
    });
}

void quillet_pdrawimg(quillet_t *q, int number, float pos_y, float pos_x)
{
    forward(q, &quillet::Quillet::PDrawImg, number, pos_y, pos_x);
}

} // extern "C"
