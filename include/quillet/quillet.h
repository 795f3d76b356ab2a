#ifndef QUILLET_QUILLET_H
#define QUILLET_QUILLET_H

/**
 * @file quillet.h
 * @brief The C interface of Quillet, for C programs and for other languages
 * through their foreign-function interfaces (Python's ctypes, for example).
 *
 * Each function mirrors one public method of quillet::Quillet and keeps its
 * name in lower case: `Init` is quillet_init(), `PNL` is quillet_pnl(),
 * `NewCol` is quillet_newcol().
 *
 * Conventions shared by every function:
 * - Lengths are millimetres: positions from the top and left margins, sizes
 *   as given. Font sizes are points. Colours are 0xBBGGRR.
 * - A position of #QUILLET_CURRENT (-1, or any negative value) means the
 *   current print position, as in the C++ interface.
 * - Strings are UTF-8 and NUL-terminated; a NULL string is read as the empty
 *   text unless the function says otherwise. Invalid UTF-8 sequences become
 *   U+FFFD.
 * - Booleans are `int`: 0 is false, anything else true.
 * - No function throws, aborts or reports an error other than through its
 *   documented result. A NULL handle makes every function a no-op that
 *   returns 0, 0.0f or NULL.
 * - Strings returned by the library belong to the handle: they stay valid
 *   until the next call of the same function on the same handle, or until
 *   quillet_destroy(). Copy them to keep them longer.
 * - Threads: call every function from one thread, the one that created the
 *   first handle; the component runs on the user-interface thread of the
 *   process. When quillet_create() creates the application object, that
 *   thread should be the process's main thread, the one Qt runs its windows
 *   on. Other threads must hand their work to it (a queue the host drains);
 *   no function may be called from two threads at once.
 */

#include <quillet/quillet_export.h>

#ifdef __cplusplus
extern "C" {
#endif

/** A position argument that means "the current print position". */
#define QUILLET_CURRENT (-1.0f)

/** The last page of the listing, as the end of a page range. */
#define QUILLET_LAST_PAGE (-1)

/** An opaque handle to one component. Create it with quillet_create(). */
typedef struct quillet_handle quillet_t;

/** Switches of quillet_init(), combined with `|`. */
enum quillet_init_flags {
    QUILLET_SETUP = 1 << 0,    /**< the preview offers the printer set-up */
    QUILLET_SELPAG = 1 << 1,   /**< printing from the preview asks for a page range */
    QUILLET_PRINT = 1 << 2,    /**< the preview has a print button */
    QUILLET_FIND = 1 << 3,     /**< the preview has a find button */
    QUILLET_ASIZE = 1 << 4,    /**< the preview window sizes itself to the page */
    QUILLET_CANCEL = 1 << 5,   /**< the wait dialog has a Cancel button */
    QUILLET_CANSHOW = 1 << 6,  /**< after Cancel, quillet_wait() shows what was composed instead of aborting */
    QUILLET_NODIALOG = 1 << 7, /**< no wait dialog while composing */
    /** The defaults of the C++ interface: every button, a wait dialog with Cancel. */
    QUILLET_DEFAULTS = QUILLET_SETUP | QUILLET_SELPAG | QUILLET_PRINT | QUILLET_FIND | QUILLET_ASIZE | QUILLET_CANCEL
};

/* --- The handle ------------------------------------------------------- */

/**
 * Creates a component.
 *
 * When the process has no Qt application object yet, the first call creates
 * a QApplication, which then lives until the process ends; a C or Python
 * program needs nothing else. When `QT_QPA_PLATFORM` is unset or empty, that
 * application tries the desktop's own window system first: Wayland when
 * `WAYLAND_DISPLAY` is set, then X11, and falls back to Qt's "offscreen"
 * platform when there is no display or it does not answer
 * (`QT_QPA_PLATFORM` becomes "wayland;xcb;offscreen", or "xcb;offscreen"
 * without `WAYLAND_DISPLAY`), so listings can still be composed, saved as
 * PDF and printed directly instead of Qt ending the process.
 *
 * @return a new handle, to be released with quillet_destroy(); NULL when the
 *         process runs a QCoreApplication that is not a QApplication (the
 *         component is a widget) or when the component cannot be created.
 */
QUILLET_EXPORT quillet_t *quillet_create(void);

/**
 * Releases a component and the strings it returned. The listing that is
 * open stays open for the other handles of the process.
 *
 * @param q the handle; NULL is allowed and does nothing.
 */
QUILLET_EXPORT void quillet_destroy(quillet_t *q);

/* --- Opening and ending a listing -------------------------------------- */

/**
 * Opens a listing, replacing any listing that is open in the process.
 *
 * @param q the component.
 * @param name the listing's name, shown in the wait dialog and the preview
 *        caption; NULL for none.
 * @param mode "P" or "PRT" (any case) prints directly; anything else, or
 *        NULL, previews.
 * @param orientation "P" (portrait, also "1") or "L" (landscape, also "2");
 *        NULL for portrait; "" keeps the printer's current orientation.
 * @param paper "A4", "A3", "LETTER", "LEGAL", a Windows paper code such as
 *        "9", "256" for the custom size @p width_mm x @p height_mm (the page as
 *        printed, in either orientation), or "-1"
 *        to keep the printer's paper; NULL for A4; "" also keeps the
 *        printer's paper.
 * @param flags #quillet_init_flags combined with `|`; #QUILLET_DEFAULTS for
 *        the usual preview.
 * @param width_mm custom paper width in millimetres, used with paper "256".
 * @param height_mm custom paper height in millimetres, used with paper "256".
 * @return 0 when the listing is open, else the sum of the failure codes:
 *         1 orientation refused, 2 paper refused, 3 spool file not opened,
 *         10/20/30 custom paper not applied; -1 for a NULL handle.
 */
QUILLET_EXPORT int quillet_init(quillet_t *q, const char *name, const char *mode, const char *orientation, const char *paper,
                 unsigned flags, int width_mm, int height_mm);

/**
 * Ends composition. When previewing, opens the preview window and returns
 * when the user closes it; when printing directly, sends the job to the
 * printer.
 *
 * @param q the component.
 */
QUILLET_EXPORT void quillet_show(quillet_t *q);

/**
 * Throws the listing away; a direct print job is discarded.
 *
 * @param q the component.
 */
QUILLET_EXPORT void quillet_abort(quillet_t *q);

/**
 * Lets the windows run; call it now and then while composing.
 *
 * @param q the component.
 * @return 1 to go on composing; 0 once the listing has been ended (shown or
 *         aborted from the wait dialog): the caller stops composing.
 */
QUILLET_EXPORT int quillet_wait(quillet_t *q);

/**
 * Reads the property `AbortPRT`.
 *
 * @param q the component.
 * @return 1 when the listing was aborted through quillet_set_abort_prt()
 *         with a true value, else 0.
 */
QUILLET_EXPORT int quillet_abort_prt(quillet_t *q);

/**
 * Sets the property `AbortPRT`, which aborts the listing.
 *
 * @param q the component.
 * @param value true also stops the component from handing the focus back
 *        to the host's window.
 */
QUILLET_EXPORT void quillet_set_abort_prt(quillet_t *q, int value);

/**
 * Writes pages of the composed listing to a PDF file without showing
 * anything. Call it after composing, before or instead of quillet_show().
 *
 * @param q the component.
 * @param path the file to write (UTF-8).
 * @param from_page the first page, from 1.
 * @param to_page the last page; #QUILLET_LAST_PAGE for the last one.
 * @return 1 when the file was written, 0 when nothing was written.
 */
QUILLET_EXPORT int quillet_save_pdf(quillet_t *q, const char *path, int from_page, int to_page);

/**
 * Writes pages of the composed listing to a PDF file, the pages typed as in
 * a print dialog.
 *
 * @param q the component.
 * @param path the file to write (UTF-8).
 * @param pages a list such as "1-3,7,10-": order kept, "-5" is 1 to 5,
 *        "10-" is 10 to the last, numbers clamped to the pages.
 * @return 1 when the file was written, 0 when nothing was written or
 *         @p pages is not such a list.
 */
QUILLET_EXPORT int quillet_save_pdf_pages(quillet_t *q, const char *path, const char *pages);

/**
 * Writes pages of the composed listing to a PDF file arranged on the sheets
 * of the listing's paper: several pages a side, or a booklet.
 *
 * @param q the component.
 * @param path the file to write (UTF-8).
 * @param pages_per_sheet 2 or 4 pages on each side of a sheet, each scaled
 *        to its half or quarter, turned where it is larger so, centred; 1
 *        as drawn.
 * @param booklet non-zero: two pages a side, ordered so that the sheets,
 *        printed on both sides turned on the short edge, folded and
 *        stacked, read 1, 2, 3...; blank pages make the count a multiple of
 *        four. @p pages_per_sheet does not count then.
 * @param pages a page list as for quillet_save_pdf_pages(); NULL or "" for all.
 * @return 1 when the file was written, 0 when nothing was written,
 *         @p pages_per_sheet is not 1, 2 or 4, or @p pages is not a list.
 */
QUILLET_EXPORT int quillet_save_pdf_sheets(quillet_t *q, const char *path, int pages_per_sheet, int booklet,
                                           const char *pages);

/**
 * Reads the property `ShowPdf`.
 *
 * @param q the component.
 * @return 1 when the preview shows its "Guardar como PDF..." button, else 0.
 */
QUILLET_EXPORT int quillet_show_pdf(quillet_t *q);

/**
 * Sets the property `ShowPdf`.
 *
 * @param q the component.
 * @param value whether the preview shows its "Guardar como PDF..." button.
 */
QUILLET_EXPORT void quillet_set_show_pdf(quillet_t *q, int value);

/**
 * Reads the property `PdfArchive`.
 *
 * @param q the component.
 * @return 1 when saved PDF files are PDF/A-1b, for archiving, else 0.
 */
QUILLET_EXPORT int quillet_pdf_archive(quillet_t *q);

/**
 * Sets the property `PdfArchive`: quillet_save_pdf(), quillet_save_pdf_pages()
 * and the preview's "Guardar como PDF..." write PDF/A-1b (every font embedded,
 * the listing's name as title, the creation date in the XMP metadata).
 *
 * @param q the component.
 * @param value whether saved PDF files are PDF/A-1b.
 */
QUILLET_EXPORT void quillet_set_pdf_archive(quillet_t *q, int value);

/**
 * Reads the property `RememberPrintChoices`.
 *
 * @param q the component.
 * @return 1 when the print dialog remembers the user's choices, else 0.
 */
QUILLET_EXPORT int quillet_remember_print_choices(quillet_t *q);

/**
 * Sets the property `RememberPrintChoices`: whether the print dialog opens on
 * the printer chosen last, with the two-sided printing, colour and printer's
 * options chosen for it before, also in earlier runs of the program (kept
 * with QSettings under its organisation and application names). Copies and
 * pages are never remembered. On by default; off for a program that sets up
 * its printers itself.
 *
 * @param q the component.
 * @param value whether the print dialog remembers the user's choices.
 */
QUILLET_EXPORT void quillet_set_remember_print_choices(quillet_t *q, int value);

/**
 * Reads the property `DirectPageCount`.
 *
 * @param q the component.
 * @return 1 when listings printed directly print their page count, else 0.
 */
QUILLET_EXPORT int quillet_direct_page_count(quillet_t *q);

/**
 * Sets the property `DirectPageCount`, read by quillet_init(). When true, a
 * listing opened with mode "P" is composed as for the preview
 * (recorded, with the wait dialog) and quillet_show() prints all its pages,
 * with the print progress dialog, instead of previewing: the page-count
 * marker is resolved, and nothing reaches the printer before quillet_show().
 * When false (the default) each page goes to the printer as it is composed
 * and the page count prints as "*".
 *
 * @param q the component.
 * @param value whether listings printed directly print their page count.
 */
QUILLET_EXPORT void quillet_set_direct_page_count(quillet_t *q, int value);

/**
 * Tells where the last direct print job went.
 *
 * @param q the component.
 * @return "<queue>, job <id>", a PDF file path, or "" when no job was sent;
 *         owned by the handle (see the conventions above).
 */
QUILLET_EXPORT const char *quillet_last_output(quillet_t *q);

#ifdef __cplusplus
}
#endif

/* The calls that compose a listing. */
#include <quillet/quillet_compose.h>

#endif /* QUILLET_QUILLET_H */
