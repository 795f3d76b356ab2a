#pragma once
// The composition commands, shared by the host's calls and by page replay.
// While Spooling each command appends its record; in every mode it draws on
// the listing's Surface at once. Lengths are millimetres from the margins.

#include "compose/Session.h"
#include "spool/SpoolRecord.h"

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

    // Pen, fill and cursor-advance switches
    void PColor(int FColor);
    void PFill(int FColor, int FStyle);
    void PFix(bool FX, bool FY);
    void PDraw(int DStyle = 0, int DMode = 13);

    // Columns
    void ClsCols();

private:
    void record(Opcode op, float valA = 0, float valB = 0, float valC = 0, float valD = 0,
                std::string_view text = {}, float valE = 0);
    Surface *surface() const { return m_state.Surface; }

    Session &m_session;
    ListingState &m_state;
};

} // namespace quillet
