#include "platform/FontFace.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QTextLayout>

#include <algorithm>
#include <mutex>

namespace quillet {

namespace {

/// Faces are measured at this many pixels per em: large enough that any
/// rounding in the font engine is negligible.
constexpr qreal ReferencePixels = 2048;

/// One cache a thread, since pages are drawn on several at once and a face
/// keeps caches of its own. Font engines must go before the font database
/// does, which is when the application object is destroyed: the main
/// thread's cache is cleared there, the others when their thread ends.
QHash<QString, std::shared_ptr<FontFace>> &faceCache()
{
    thread_local QHash<QString, std::shared_ptr<FontFace>> cache;
    static std::once_flag clearedAtExit;
    std::call_once(clearedAtExit, [] { qAddPostRoutine([] { faceCache().clear(); }); });
    return cache;
}

QString substitutedFamily(const QString &family)
{
    return QFontInfo(QFont(family)).family();
}

/// Below U+0250 every character is Latin or Common, none a mark: none needs
/// shaping, and the face's advance for it can be kept in a table.
constexpr char16_t LatinTableEnd = 0x250;

/// The characters of category Other_Control, tested without a table lookup.
bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
}

bool needsShaping(QChar c)
{
    if (c.unicode() < LatinTableEnd)
        return false;
    if (c.isSurrogate() || c.isMark())
        return true;
    switch (c.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
        return false;
    default:
        return true;
    }
}

} // namespace

QString printableText(QString text)
{
    text.removeIf(isControl);
    return text;
}

QString printableText(std::string_view utf8)
{
    return printableText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString FontFace::defaultFamily()
{
    return QStringLiteral("Liberation Serif");
}

bool FontFace::isKnownFamily(const QString &family)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    thread_local QHash<QString, bool> known;
    const QString key = family.toCaseFolded();
    const auto cached = known.constFind(key);
    if (cached != known.constEnd())
        return *cached;
    // fontconfig answers every name with some font: a family is known when it
    // is installed or when its answer differs from the answer to nonsense.
    static const QString unknownAnswer = substitutedFamily(QStringLiteral("Quillet No Such Family"));
    const bool isKnown = !family.trimmed().isEmpty() &&
                         (QFontDatabase::hasFamily(family) || substitutedFamily(family) != unknownAnswer);
    known.insert(key, isKnown);
    return isKnown;
}

std::shared_ptr<FontFace> FontFace::find(const QString &family, bool bold, bool italic)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    const QString chosen = isKnownFamily(family) ? family : defaultFamily();
    const QString key =
        chosen.toCaseFolded() + QChar(u'|') + QChar(bold ? u'b' : u'-') + QChar(italic ? u'i' : u'-');
    std::shared_ptr<FontFace> &face = faceCache()[key];
    if (!face) {
        QFont font(chosen);
        font.setBold(bold);
        font.setItalic(italic);
        face = std::make_shared<FontFace>(font);
    }
    return face;
}

FontFace::FontFace(const QFont &font) : m_font(font)
{
    m_font.setPixelSize(static_cast<int>(ReferencePixels));
    m_font.setHintingPreference(QFont::PreferNoHinting);
    // Widths are sums of advances, as the printer's own text measuring does.
    m_font.setKerning(false);
    m_raw = QRawFont::fromFont(m_font);
    m_ascentEm = m_raw.ascent() / ReferencePixels;
    m_descentEm = m_raw.descent() / ReferencePixels;
    m_lastMapped.simple = mapSimpleGlyphs(m_lastMapped.text, m_lastMapped.glyphs);
    m_latinAdvanceEm = readLatinAdvancesEm();
}

bool FontFace::simpleGlyphs(const QString &text, QList<quint32> &glyphs) const
{
    if (text != m_lastMapped.text) {
        m_lastMapped.text = text;
        m_lastMapped.simple = mapSimpleGlyphs(text, m_lastMapped.glyphs);
    }
    glyphs = m_lastMapped.glyphs;
    return m_lastMapped.simple;
}

bool FontFace::mapSimpleGlyphs(const QString &text, QList<quint32> &glyphs) const
{
    glyphs.clear();
    if (std::any_of(text.cbegin(), text.cend(), needsShaping))
        return false;
    glyphs.resize(text.size());
    int glyphCount = static_cast<int>(glyphs.size());
    if (!m_raw.glyphIndexesForChars(text.constData(), static_cast<int>(text.size()), glyphs.data(),
                                    &glyphCount))
        return false;
    glyphs.resize(glyphCount);
    return !glyphs.contains(0u); // a character this face lacks comes from another font
}

qreal FontFace::advanceEm(quint32 glyph)
{
    if (glyph >= m_advanceEm.size())
        m_advanceEm.resize(glyph + 1, -1.0f);
    float &advance = m_advanceEm[glyph];
    if (advance < 0) {
        const QList<QPointF> advances = m_raw.advancesForGlyphIndexes({glyph}, QRawFont::UseDesignMetrics);
        advance = advances.isEmpty() ? 0.0f : static_cast<float>(advances.first().x() / ReferencePixels);
    }
    return advance;
}

std::vector<float> FontFace::readLatinAdvancesEm()
{
    std::vector<float> advances(LatinTableEnd, Lacking);
    QString characters(LatinTableEnd, Qt::Uninitialized);
    for (char16_t c = 0; c < LatinTableEnd; ++c)
        characters[c] = QChar(c);
    QList<quint32> glyphs(LatinTableEnd);
    int glyphCount = LatinTableEnd;
    if (!m_raw.glyphIndexesForChars(characters.constData(), LatinTableEnd, glyphs.data(), &glyphCount) ||
        glyphCount != LatinTableEnd)
        return advances;
    for (char16_t c = 0; c < LatinTableEnd; ++c) {
        if (isControl(c))
            advances[c] = 0;
        else if (glyphs[c] != 0) // else the face lacks it: it comes from another font
            advances[c] = static_cast<float>(advanceEm(glyphs[c]));
    }
    return advances;
}

template <typename Add> bool FontFace::addLatinAdvancesEm(std::string_view utf8, Add add) const
{
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        auto c = static_cast<char16_t>(lead);
        if (lead >= 0x80) {
            // Two bytes led by C2 to C9 encode U+0080 to U+027F; anything
            // else is beyond the table or malformed.
            if (lead < 0xC2 || lead > 0xC9 || i + 1 == utf8.size() ||
                (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) != 0x80)
                return false;
            c = static_cast<char16_t>((lead & 0x1F) << 6 | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
            if (c >= LatinTableEnd)
                return false;
        }
        const float advance = m_latinAdvanceEm[c];
        if (advance == Lacking)
            return false;
        add(advance);
    }
    return true;
}

qreal FontFace::widthEm(std::string_view text)
{
    qreal width = 0;
    if (addLatinAdvancesEm(text, [&](float advance) { width += advance; }))
        return width;
    const QString printable = printableText(text);
    QList<quint32> glyphs;
    if (!simpleGlyphs(printable, glyphs))
        return shapedLayout(printable).widthEm;
    width = 0;
    for (quint32 glyph : glyphs)
        width += advanceEm(glyph);
    return width;
}

std::optional<int64_t> FontFace::widthUnits(std::string_view text) const
{
    constexpr int64_t MaxUnits = int64_t{1} << 51;
    const qreal unitsPerEm = std::ldexp(qreal{1}, UnitsPerEmBits);
    int64_t units = 0;
    bool exact = true;
    const bool latin = addLatinAdvancesEm(text, [&](float advance) {
        const qreal scaled = advance * unitsPerEm;
        exact = exact && scaled >= 0 && scaled == std::floor(scaled) &&
                (units += static_cast<int64_t>(scaled)) <= MaxUnits;
    });
    return latin && exact ? std::optional<int64_t>(units) : std::nullopt;
}

std::vector<qreal> FontFace::prefixWidthsEm(std::string_view text)
{
    std::vector<qreal> widths;
    widths.reserve(text.size());
    qreal width = 0;
    if (addLatinAdvancesEm(text, [&](float advance) { widths.push_back(width += advance); }))
        return widths;
    // Malformed UTF-8 may decode to fewer replacement characters than it has bytes.
    const QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QList<quint32> glyphs;
    if (decoded.contains(QChar::ReplacementCharacter) || !simpleGlyphs(printableText(decoded), glyphs))
        return {};
    widths.clear();
    width = 0;
    auto glyph = glyphs.cbegin();
    for (QChar c : decoded) {
        if (!isControl(c) && glyph != glyphs.cend())
            width += advanceEm(*glyph++);
        widths.push_back(width);
    }
    return widths;
}

TextLayoutEm FontFace::layout(const QString &text)
{
    GlyphRunEm run{m_raw, {}, {}};
    if (!simpleGlyphs(text, run.glyphs))
        return shapedLayout(text);
    TextLayoutEm result;
    run.positionsEm.reserve(run.glyphs.size());
    for (quint32 glyph : run.glyphs) {
        run.positionsEm.append(QPointF(result.widthEm, 0));
        result.widthEm += advanceEm(glyph);
    }
    if (!run.glyphs.isEmpty())
        result.runs.push_back(std::move(run));
    return result;
}

TextLayoutEm FontFace::shapedLayout(const QString &text) const
{
    TextLayoutEm result;
    if (text.isEmpty())
        return result;
    QTextLayout layout(text, m_font);
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return result;
    result.widthEm = line.naturalTextWidth() / ReferencePixels;
    const qreal baseline = line.y() + line.ascent();
    for (const QGlyphRun &shaped : layout.glyphRuns()) {
        GlyphRunEm run{shaped.rawFont(), shaped.glyphIndexes(), {}};
        const QList<QPointF> positions = shaped.positions();
        run.positionsEm.reserve(positions.size());
        for (const QPointF &position : positions)
            run.positionsEm.append(QPointF(position.x(), position.y() - baseline) / ReferencePixels);
        result.runs.push_back(std::move(run));
    }
    return result;
}

} // namespace quillet
