#pragma once
// The composition commands, shared by the host's calls and by page replay.
// While Spooling each command appends its record; in every mode it draws on
// the listing's Surface at once. Lengths are millimetres from the margins.

#include "compose/CommandRecord.h"
#include "compose/Session.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillet {

class Composer {
public:
    explicit Composer(Session &session) : m_session(session), m_state(session.state) {}

    // Cursor, lines, pages and margins
    void PNL(float Skip = 0);
    void PNP();
    void PMargins(float TMarg, float LMarg, float BMarg, float RMarg);
    void ListingDefaults();
    float mx() const { return m_state.UseW; }
    float MY() const { return m_state.UseH; }
    float PW() const { return m_state.PageW; }
    float PH() const { return m_state.PageH; }
    float CurX() const { return m_state.CursorX - m_state.LeftMarg; }
    float CurY() const { return m_state.CursorY - m_state.TopMarg; }

    // Fonts, alignment and metrics
    void PFont(std::string_view FTName = {}, float FTSize = 0, bool FTBold = false, bool FTItalic = false,
               bool FTTrans = true);
    void PAlign(int PAl);
    float WX(std::string_view StrToSee) const;
    float WY(std::string_view StrToSee) const;
    bool InSize(std::string_view StrToSee, float PrtSize) const;
    float NLines() const;

    // Shapes; x is added to LeftMarg, y to TopMarg; Expe is the pen width in pixels
    void PBox(float y1, float x1, float y2, float x2, int Expe = 0);
    void PCircle(float PosY, float PosX, float Raio, int Expe = 0);
    void PLine(float y1, float x1, float y2, float x2, int Expe = 0);

    /// A barcode or QR code of Kind in a box Height high at (PosX, PosY), -1
    /// for the print position; Width 0 is a linear code's natural width, a
    /// square for a two-dimensional one. Returns a BarcodeResult: 0 when drawn,
    /// otherwise nothing is drawn nor recorded.
    int PBarcode(std::string_view Kind, std::string_view Data, float PosY, float PosX, float Height,
                 float Width = 0, std::string_view Options = {});

    // Pictures, numbered from 1 in registration order
    void PNewImg(std::shared_ptr<const Picture> IMG);
    void PDrawImg(int NImg, float PosY, float PosX);

    // Pen, fill and cursor-advance switches
    void PColor(int FColor);
    void PFill(int FColor, int FStyle);
    void PFix(bool FX, bool FY);
    void PDraw(int DStyle = 0, int DMode = 13);

    // Single-line text; positions from the margins, -1 for the print position
    void C(std::string_view StrToPrint, float PosY = -1, float PosX = -1, float MaxX = -1);
    void L(std::string_view StrToPrint, float PosY = -1, float PosX = -1, float Wid = 0);
    void R(std::string_view StrToPrint, float PosY = -1, float PosX = -1, float Wid = 0);
    /// One line of a justified paragraph; returns the text that did not fit.
    std::string M(std::string_view StrToPrint, float PosY = -1, float PosX = -1, float MaxX = -1);

    /// The text with "TRICOCO" and "PRICOCO" replaced as the mode requires.
    std::string ExpandMarkers(std::string_view text) const;
    /// The text a command places and measures, given what it records: the
    /// same, except while a listing that Show prints is recorded, where the
    /// markers read as direct printing reads them, so the print position
    /// moves as it would there.
    std::string placedText(std::string_view recorded) const;
    /// The longest start of the text that fits widthMm, ended with "..." when cut.
    std::string FitText(std::string_view text, float widthMm) const;
    /// Draws the text at the surface's position, aligned on the print line.
    void EmitText(std::string_view text);

    // Columns, numbered from 1
    void NewCol(float PosX, float cx);
    void ClsCols();
    void CCol(int NCol, std::string_view StrToPrint, float PosY = -1, bool TRUNC = true);
    void LCol(int NCol, std::string_view StrToPrint, float AddX = 0, float PosY = -1, bool TRUNC = true);
    void RCol(int NCol, std::string_view StrToPrint, float SubX = 0, float PosY = -1, bool TRUNC = true);

    /// Ends a line of M that closes a paragraph (drawn without spreading).
    static constexpr char LineMark = '\x01';

private:
    /// The recorded horizontal value of L, R and M: -1 for the print position.
    float horizontalValue(float PosX) const;
    /// Sets the surface's X for a text starting at PosX and moves the cursor past it.
    void placeLeft(float PosX, float widthMm);
    /// Sets the surface's Y and moves the print line; returns the recorded vertical value.
    float placeVertically(float PosY, float heightMm);
    /// The vertical value C and CCol record.
    float verticalValue(float PosY) const;
    /// L or R: the text starts (ends) at PosX, cut to Wid when Wid is not 0.
    template <typename Row> void sideText(std::string_view StrToPrint, float PosY, float PosX, float Wid);
    /// A cell of LCol or RCol: the text starts (ends) inset mm inside the column.
    template <typename Row>
    void sideCell(int NCol, std::string_view StrToPrint, float inset, float PosY, bool TRUNC);
    /// The pen width of a shape: zoomed in the preview, at least 1.
    int penWidth(int Expe) const;
    /// Draws a shape with its pen width, then puts the width back to 1.
    template <typename Draw> void withPenWidth(int width, Draw &&draw);
    /// Draws a line of M spread over widthMm, word by word.
    void emitSpread(std::string_view line, float widthMm);

    /// Records the command of that row, given its arguments in the row's order.
    template <typename Row, typename... Values> void record(const Values &...values)
    {
        if (recording() && m_session.spool)
            write(commands::recordOf<Row>(values...));
    }
    void write(SpoolRecord record);
    Surface *surface() const { return m_state.Surface; }
    /// Whether commands are recorded now: while Spooling, but not the text
    /// command that draws a column cell, which the cell's record replays.
    bool recording() const { return m_state.Spooling && !m_inCell; }

    /// Draws a column cell's text through C, L or R without recording it. The
    /// listing stays Spooling meanwhile, so the hidden preview page still
    /// knows nobody sees it.
    class CellText {
    public:
        explicit CellText(Composer &composer) : m_composer(composer) { composer.m_inCell = true; }
        ~CellText() { m_composer.m_inCell = false; }
        CellText(const CellText &) = delete;
        CellText &operator=(const CellText &) = delete;

    private:
        Composer &m_composer;
    };

    Session &m_session;
    ListingState &m_state;
    bool m_inCell = false;
};

} // namespace quillet
