#ifndef QUILLET_QUILLET_COMPOSE_H
#define QUILLET_QUILLET_COMPOSE_H

/**
 * @file quillet_compose.h
 * @brief The calls of the C interface that compose a listing: lines and
 * pages, texts, columns, fonts, graphics and pictures. Included by
 * quillet.h, whose conventions they follow; include that one.
 */

#include <quillet/quillet.h>

#ifdef __cplusplus
extern "C" {
#endif

/* --- Cursor, lines, pages and margins ---------------------------------- */

/**
 * Moves the print position down and back to the left margin.
 *
 * @param q the component.
 * @param skip the distance to move down in millimetres; 0 for one line of
 *        the current font.
 */
QUILLET_EXPORT void quillet_pnl(quillet_t *q, float skip);

/**
 * Starts a new page.
 *
 * @param q the component.
 */
QUILLET_EXPORT void quillet_pnp(quillet_t *q);

/**
 * Sets the page margins in millimetres from the edges of the paper.
 *
 * @param q the component.
 * @param top the top margin.
 * @param left the left margin.
 * @param bottom the bottom margin.
 * @param right the right margin.
 */
QUILLET_EXPORT void quillet_pmargins(quillet_t *q, float top, float left, float bottom, float right);

/**
 * @param q the component.
 * @return the usable width between the left and right margins, in millimetres.
 */
QUILLET_EXPORT float quillet_mx(quillet_t *q);

/**
 * @param q the component.
 * @return the usable height between the top and bottom margins, in millimetres.
 */
QUILLET_EXPORT float quillet_my(quillet_t *q);

/**
 * @param q the component.
 * @return the paper width in millimetres.
 */
QUILLET_EXPORT float quillet_pw(quillet_t *q);

/**
 * @param q the component.
 * @return the paper height in millimetres.
 */
QUILLET_EXPORT float quillet_ph(quillet_t *q);

/**
 * @param q the component.
 * @return the horizontal print position, in millimetres from the left margin.
 */
QUILLET_EXPORT float quillet_curx(quillet_t *q);

/**
 * @param q the component.
 * @return the vertical print position, in millimetres from the top margin.
 */
QUILLET_EXPORT float quillet_cury(quillet_t *q);

/* --- Text -------------------------------------------------------------- */

/**
 * Prints a text centred between two edges.
 *
 * @param q the component.
 * @param text the text; may hold the page markers "PRICOCO" and "TRICOCO".
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param pos_x the left edge, or #QUILLET_CURRENT for the left margin.
 * @param max_x the right edge, or #QUILLET_CURRENT for the right margin.
 */
QUILLET_EXPORT void quillet_c(quillet_t *q, const char *text, float pos_y, float pos_x, float max_x);

/**
 * Prints a left-aligned text.
 *
 * @param q the component.
 * @param text the text.
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param pos_x the left edge, or #QUILLET_CURRENT.
 * @param width the width to cut the text to; 0 for no limit.
 */
QUILLET_EXPORT void quillet_l(quillet_t *q, const char *text, float pos_y, float pos_x, float width);

/**
 * Prints a right-aligned text.
 *
 * @param q the component.
 * @param text the text.
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param pos_x the right edge, or #QUILLET_CURRENT.
 * @param width the width to cut the text to; 0 for no limit.
 */
QUILLET_EXPORT void quillet_r(quillet_t *q, const char *text, float pos_y, float pos_x, float width);

/**
 * Prints one justified line of a paragraph.
 *
 * @param q the component.
 * @param text the paragraph.
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param pos_x the left edge, or #QUILLET_CURRENT.
 * @param max_x the right edge, or #QUILLET_CURRENT for the right margin.
 * @return the part of the paragraph that did not fit ("" when all of it
 *         did), owned by the handle (see the conventions above); call again
 *         with it for the next line.
 */
QUILLET_EXPORT const char *quillet_m(quillet_t *q, const char *text, float pos_y, float pos_x, float max_x);

/* --- Columns (numbered from 1, at most 20) ------------------------------ */

/**
 * Adds a column.
 *
 * @param q the component.
 * @param pos_x its left edge, from the left margin.
 * @param width its width.
 */
QUILLET_EXPORT void quillet_newcol(quillet_t *q, float pos_x, float width);

/**
 * Removes every column.
 *
 * @param q the component.
 */
QUILLET_EXPORT void quillet_clscols(quillet_t *q);

/**
 * Prints a text centred in a column.
 *
 * @param q the component.
 * @param column the column, from 1.
 * @param text the text.
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param truncate true cuts a text wider than the column, ending it with "...".
 */
QUILLET_EXPORT void quillet_ccol(quillet_t *q, int column, const char *text, float pos_y, int truncate);

/**
 * Prints a text at the left of a column.
 *
 * @param q the component.
 * @param column the column, from 1.
 * @param text the text.
 * @param add_x the distance from the column's left edge.
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param truncate true cuts a text wider than the column, ending it with "...".
 */
QUILLET_EXPORT void quillet_lcol(quillet_t *q, int column, const char *text, float add_x, float pos_y, int truncate);

/**
 * Prints a text at the right of a column.
 *
 * @param q the component.
 * @param column the column, from 1.
 * @param text the text.
 * @param sub_x the distance from the column's right edge.
 * @param pos_y the height, or #QUILLET_CURRENT.
 * @param truncate true cuts a text wider than the column, ending it with "...".
 */
QUILLET_EXPORT void quillet_rcol(quillet_t *q, int column, const char *text, float sub_x, float pos_y, int truncate);

/* --- Fonts, alignment and metrics --------------------------------------- */

/**
 * Chooses the font of the following texts.
 *
 * @param q the component.
 * @param name the family; NULL or "" keeps the current one.
 * @param size the size in points; 0 keeps the current one.
 * @param bold true for bold.
 * @param italic true for italic.
 * @param transparent false paints the text's background.
 */
QUILLET_EXPORT void quillet_pfont(quillet_t *q, const char *name, float size, int bold, int italic, int transparent);

/**
 * Chooses how texts stand on their height.
 *
 * @param q the component.
 * @param alignment 2 bottom on the line, 1 baseline, -1 ascent, -2 top on the line.
 */
QUILLET_EXPORT void quillet_palign(quillet_t *q, int alignment);

/**
 * @param q the component.
 * @param text the text to measure.
 * @return its width in the current font, in millimetres.
 */
QUILLET_EXPORT float quillet_wx(quillet_t *q, const char *text);

/**
 * @param q the component.
 * @param text the text to measure.
 * @return its height in the current font, in millimetres.
 */
QUILLET_EXPORT float quillet_wy(quillet_t *q, const char *text);

/**
 * @param q the component.
 * @return the number of lines of the current font that still fit above the
 *         bottom margin.
 */
QUILLET_EXPORT float quillet_nlines(quillet_t *q);

/**
 * @param q the component.
 * @param text the text to measure.
 * @param width the width available, in millimetres.
 * @return 1 when the text fits the width in the current font, else 0.
 */
QUILLET_EXPORT int quillet_insize(quillet_t *q, const char *text, float width);

/* --- Graphics ----------------------------------------------------------- */

/**
 * Draws a box, or a line when its height or width is 0.
 *
 * @param q the component.
 * @param y1 the top, or #QUILLET_CURRENT.
 * @param x1 the left, or #QUILLET_CURRENT.
 * @param y2 the height; 0 draws a horizontal line.
 * @param x2 the width; 0 (with a height) draws a vertical line.
 * @param thickness the pen width in pixels of the surface; 0 for the thinnest.
 */
QUILLET_EXPORT void quillet_pbox(quillet_t *q, float y1, float x1, float y2, float x2, int thickness);

/**
 * Draws a circle.
 *
 * @param q the component.
 * @param pos_y the centre's height (a negative value is a place too).
 * @param pos_x the centre's distance from the left margin.
 * @param radius the radius.
 * @param thickness the pen width in pixels of the surface; 0 for the thinnest.
 */
QUILLET_EXPORT void quillet_pcircle(quillet_t *q, float pos_y, float pos_x, float radius, int thickness);

/**
 * Draws a line.
 *
 * @param q the component.
 * @param y1 the start's height.
 * @param x1 the start's distance from the left margin.
 * @param y2 the end's height.
 * @param x2 the end's distance from the left margin.
 * @param thickness the pen width in pixels of the surface; 0 for the thinnest.
 */
QUILLET_EXPORT void quillet_pline(quillet_t *q, float y1, float x1, float y2, float x2, int thickness);

/**
 * Chooses the colour of texts and lines.
 *
 * @param q the component.
 * @param colour 0xBBGGRR.
 */
QUILLET_EXPORT void quillet_pcolor(quillet_t *q, int colour);

/**
 * Chooses the pen.
 *
 * @param q the component.
 * @param style 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none.
 * @param mode the raster operation, 13 to copy the pen.
 */
QUILLET_EXPORT void quillet_pdraw(quillet_t *q, int style, int mode);

/**
 * Chooses how boxes and circles are filled.
 *
 * @param q the component.
 * @param colour 0xBBGGRR.
 * @param style 0 solid, 1 transparent, 2 to 7 hatches.
 */
QUILLET_EXPORT void quillet_pfill(quillet_t *q, int colour, int style);

/**
 * Chooses whether drawing moves the print position.
 *
 * @param q the component.
 * @param fix_x true keeps the horizontal position.
 * @param fix_y true keeps the vertical position.
 */
QUILLET_EXPORT void quillet_pfix(quillet_t *q, int fix_x, int fix_y);

/* --- Barcodes ------------------------------------------------------------- */

/** The results of quillet_pbarcode(): drawn, or why nothing was drawn. */
enum quillet_barcode_result {
    QUILLET_BARCODE_DRAWN = 0,          /**< drawn and recorded */
    QUILLET_BARCODE_UNKNOWN_KIND = 1,   /**< not one of the kinds listed */
    QUILLET_BARCODE_BAD_OPTIONS = 2,    /**< an unknown key or value, or one the kind has no use for */
    QUILLET_BARCODE_CANNOT_ENCODE = 3,  /**< characters the kind does not take, a wrong check digit, no data */
    QUILLET_BARCODE_TOO_LONG = 4,       /**< more data than the kind holds */
    QUILLET_BARCODE_MODULE_TOO_THIN = 5, /**< a module would be under 0.1 mm */
    QUILLET_BARCODE_BAD_SIZE = 6,       /**< a height not above 0, a negative width, no room under the text */
    QUILLET_BARCODE_NO_ENCODER = 7      /**< this build of the library has no barcode encoder */
};

/**
 * Draws a barcode or a QR code as vectors, black on a white box that covers
 * its quiet zones, whatever the pen and fill.
 *
 * @param q the component.
 * @param kind in any case: "QR", "DATAMATRIX", "PDF417", "CODE128",
 *        "GS1-128" (application identifiers in parentheses), "EAN13",
 *        "EAN8", "UPCA", "ITF", "ITF14", "CODE39".
 * @param data UTF-8. A missing check digit of EAN-13, EAN-8, UPC-A or
 *        ITF-14 is computed, a wrong one refused.
 * @param pos_y the top of the box, or #QUILLET_CURRENT.
 * @param pos_x the left of the box, or #QUILLET_CURRENT.
 * @param height the box's height in millimetres, the human-readable line included.
 * @param width 0 for a linear code's natural width (0.33 mm a module) or a
 *        square box for a two-dimensional code; else the box's width, to
 *        which a linear code is stretched.
 * @param options NULL or "key=value;...": text=1 prints the line under a
 *        linear code, ecc=L|M|Q|H sets a QR code's error correction
 *        (default M), module=N the module's size in millimetres.
 * @return a #quillet_barcode_result; -1 when @p q is NULL. When not
 *         #QUILLET_BARCODE_DRAWN nothing is drawn nor recorded.
 */
QUILLET_EXPORT int quillet_pbarcode(quillet_t *q, const char *kind, const char *data, float pos_y, float pos_x,
                                    float height, float width, const char *options);

/* --- Pictures (numbered from 1 in registration order) -------------------- */

/**
 * Registers a picture read from a file (PNG, JPEG, BMP and the other formats
 * Qt reads). The picture takes the next number even when the file cannot be
 * read, so the caller's count stays right; it then draws nothing.
 *
 * @param q the component.
 * @param path the file (UTF-8).
 * @return 1 when the file was read as a picture, else 0.
 */
QUILLET_EXPORT int quillet_pnewimg(quillet_t *q, const char *path);

/**
 * Registers a picture from pixels in memory, 8 bits each of red, green,
 * blue and alpha, row after row. The pixels are copied. Like
 * quillet_pnewimg(), the picture takes the next number even when the
 * arguments are unusable.
 *
 * @param q the component.
 * @param rgba the first pixel of the top row.
 * @param width the width in pixels.
 * @param height the height in pixels.
 * @param stride the bytes from one row to the next, at least 4 x @p width.
 * @return 1 when the pixels were taken, 0 when @p rgba is NULL or a size is
 *         not positive or too large.
 */
QUILLET_EXPORT int quillet_pnewimg_rgba(quillet_t *q, const unsigned char *rgba, int width, int height, int stride);

/**
 * Draws a registered picture at its own size.
 *
 * @param q the component.
 * @param number the picture, from 1.
 * @param pos_y the top, or #QUILLET_CURRENT.
 * @param pos_x the left, or #QUILLET_CURRENT.
 */
QUILLET_EXPORT void quillet_pdrawimg(quillet_t *q, int number, float pos_y, float pos_x);

#ifdef __cplusplus
}
#endif

#endif /* QUILLET_QUILLET_COMPOSE_H */
