#pragma once
// One font face measured from its unhinted design metrics. Widths, ascent and
// descent are in ems (multiples of the font size), so a text measures the same
// on the screen at any zoom and on paper at any resolution.

#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <cmath>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace quillet {

/// Glyphs of one font, placed in ems from the start of the text on its baseline.
struct GlyphRunEm {
    QRawFont font; ///< the face at its reference pixel size
    QList<quint32> glyphs;
    QList<QPointF> positionsEm;
};

/// A text laid out in ems: one run per face (faces other than the chosen one
/// supply characters it lacks).
struct TextLayoutEm {
    std::vector<GlyphRunEm> runs;
    qreal widthEm = 0;
};

class FontFace {
public:
    /// The shared face for a family; Windows names resolve to the fonts the
    /// system substitutes for them ("Times New Roman" -> Liberation Serif), and
    /// a family the system does not know to the default family. Null without a
    /// QGuiApplication, which fonts need.
    static std::shared_ptr<FontFace> find(const QString &family, bool bold, bool italic);
    /// The family a text falls back to: Liberation Serif, Times New Roman's twin.
    static QString defaultFamily();
    /// Whether the system knows the family itself or a substitute for it.
    static bool isKnownFamily(const QString &family);

    qreal ascentEm() const { return m_ascentEm; }
    qreal descentEm() const { return m_descentEm; }

    /// Width of the UTF-8 text in ems. Control characters take no room.
    qreal widthEm(std::string_view text);
    /// Widths in ems of the UTF-8 text's first 1, 2, ... characters (code
    /// points), summed exactly as widthEm() sums them; empty when the text
    /// is malformed, or needs shaping or another face, whose widths do not
    /// add up character by character.
    std::vector<qreal> prefixWidthsEm(std::string_view text);
    /// Width of the UTF-8 text in whole units of 2^-32 em, when widthEm()
    /// sums it without rounding: every character's advance from the Latin
    /// table a whole number of units, and the text short enough that no
    /// partial sum, nor the sum of two such widths, needs more than a
    /// double's 53 bits. Nothing otherwise.
    std::optional<int64_t> widthUnits(std::string_view text) const;
    /// What widthEm() gives for a text that many units wide.
    static qreal emOfUnits(int64_t units) { return std::ldexp(static_cast<qreal>(units), -UnitsPerEmBits); }
    TextLayoutEm layout(const QString &text);

    explicit FontFace(const QFont &font);

private:
    static constexpr int UnitsPerEmBits = 32;
    /// Glyphs of a text that needs no shaping and that this face covers;
    /// false when the text must go through full text layout.
    bool simpleGlyphs(const QString &text, QList<quint32> &glyphs) const;
    /// simpleGlyphs without the memo.
    bool mapSimpleGlyphs(const QString &text, QList<quint32> &glyphs) const;
    qreal advanceEm(quint32 glyph);
    /// The advance of each character that needs no shaping, by character:
    /// 0 for control characters, Lacking where this face has no glyph.
    std::vector<float> readLatinAdvancesEm();
    /// Calls add with each character's advance (control characters add 0)
    /// for well-formed UTF-8 whose characters all have one in the table,
    /// without decoding the text for Qt; false, having maybe added some,
    /// when one has none.
    template <typename Add> bool addLatinAdvancesEm(std::string_view utf8, Add add) const;
    TextLayoutEm shapedLayout(const QString &text) const;

    QFont m_font;
    QRawFont m_raw;
    qreal m_ascentEm = 0;
    qreal m_descentEm = 0;
    /// Design advances by glyph index, filled on first use; negative when not yet read.
    std::vector<float> m_advanceEm;
    /// The last text mapped to glyphs: a text beyond the Latin table is
    /// fitted, measured and drawn in turn, and mapping it is most of each step.
    struct MappedText {
        QString text;
        QList<quint32> glyphs;
        bool simple = false;
    };
    mutable MappedText m_lastMapped;
    static constexpr float Lacking = -1;
    std::vector<float> m_latinAdvanceEm; ///< readLatinAdvancesEm()
};

/// The text without control characters, which print as nothing.
QString printableText(QString text);
/// The UTF-8 text decoded, without control characters.
QString printableText(std::string_view utf8);

} // namespace quillet
