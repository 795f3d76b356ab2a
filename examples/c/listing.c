/* A one-page letter with a picture, saved as PDF through the C interface:
 * listing-c OUTPUT.pdf
 * quillet_create() starts Qt by itself; without a display it works offscreen. */

#include <quillet/quillet.h>

#include <stdio.h>

enum { LogoSide = 32 };

int main(int argc, char *argv[])
{
    static unsigned char logo[LogoSide * LogoSide * 4];
    const char *paragraph = "Quillet composes listings line by line: the host program decides where each "
                            "text goes and when a page ends, and the same commands draw the preview, the "
                            "printed pages and this PDF file.";
    quillet_t *q;
    int saved, i;

    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    q = quillet_create();
    if (!q) {
        fprintf(stderr, "the component could not be created\n");
        return 1;
    }
    if (quillet_init(q, "Carta", NULL, NULL, NULL, QUILLET_DEFAULTS | QUILLET_NODIALOG, 0, 0) != 0) {
        fprintf(stderr, "the listing could not be opened\n");
        quillet_destroy(q);
        return 1;
    }

    /* A blue square with a fading alpha, as an RGBA picture. */
    for (i = 0; i < LogoSide * LogoSide; ++i) {
        logo[4 * i + 2] = 200;
        logo[4 * i + 3] = (unsigned char)(255 - i / LogoSide * 4);
    }
    quillet_pnewimg_rgba(q, logo, LogoSide, LogoSide, LogoSide * 4);
    quillet_pdrawimg(q, 1, 0, 0);

    quillet_pfont(q, "Liberation Serif", 14, 1, 0, 1);
    quillet_c(q, "Carta de exemplo", 2, QUILLET_CURRENT, QUILLET_CURRENT);
    quillet_pfont(q, "Liberation Serif", 11, 0, 0, 1);
    quillet_pnl(q, 15);
    /* Each call prints one justified line and returns the rest. */
    while (*paragraph) {
        paragraph = quillet_m(q, paragraph, QUILLET_CURRENT, 0, QUILLET_CURRENT);
        if (!paragraph)
            break;
        quillet_pnl(q, 0);
    }
    quillet_pbox(q, quillet_cury(q) + 4, 0, 0, quillet_mx(q), 1); /* height 0: a line */

    saved = quillet_save_pdf(q, argv[1], 1, QUILLET_LAST_PAGE);
    quillet_abort(q);
    quillet_destroy(q);
    if (!saved) {
        fprintf(stderr, "nothing was written to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
