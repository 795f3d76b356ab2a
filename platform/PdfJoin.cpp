#include "platform/PdfJoin.h"

#include <QFile>
#include <QIODevice>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

namespace quillet {

namespace {

/// One file to join: its bytes, where each object starts and ends, its trailer.
struct Part {
    QByteArray bytes;
    std::vector<qint64> start; ///< by object number; -1 for a free number
    std::unordered_map<qint64, qint64> end; ///< by start: where the next object (or the table) starts
    int root = 0;
    int info = 0;
    QByteArray id; ///< the trailer's /ID entry, as written
};

std::optional<long long> numberAt(const QByteArray &bytes, qsizetype &at)
{
    while (at < bytes.size() && QChar::isSpace(static_cast<uchar>(bytes[at])))
        ++at;
    long long value = 0;
    const auto [next, error] = std::from_chars(bytes.constData() + at, bytes.constData() + bytes.size(), value);
    if (error != std::errc())
        return std::nullopt;
    at = next - bytes.constData();
    return value;
}

int referenceIn(const QByteArray &text, const char *key)
{
    const QRegularExpression pattern(QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(QLatin1String(key)));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

/// Reads the cross-reference table the file's last startxref names.
bool readTable(Part &part)
{
    const QByteArray &b = part.bytes;
    const qsizetype tableNamed = b.lastIndexOf("startxref");
    if (tableNamed < 0)
        return false;
    qsizetype at = tableNamed + 9;
    const std::optional<long long> table = numberAt(b, at);
    if (!table || *table < 0 || *table >= b.size() || !b.mid(*table, 4).startsWith("xref"))
        return false;
    at = *table + 4;
    std::vector<qint64> starts;
    for (;;) {
        const qsizetype before = at;
        const std::optional<long long> first = numberAt(b, at), count = numberAt(b, at);
        if (!first || !count) {
            at = before;
            break;
        }
        if (*first < 0 || *count < 0 || *first + *count > 10'000'000)
            return false;
        part.start.resize(static_cast<size_t>(std::max<long long>(*first + *count, part.start.size())), -1);
        for (long long n = *first; n < *first + *count; ++n) {
            const std::optional<long long> offset = numberAt(b, at), generation = numberAt(b, at);
            while (at < b.size() && QChar::isSpace(static_cast<uchar>(b[at])))
                ++at;
            if (!offset || !generation || at >= b.size())
                return false;
            if (b[at++] == 'n' && n > 0 && *offset < *table) {
                part.start[static_cast<size_t>(n)] = *offset;
                starts.push_back(*offset);
            }
        }
    }
    std::sort(starts.begin(), starts.end());
    for (size_t i = 0; i < starts.size(); ++i)
        part.end[starts[i]] = i + 1 < starts.size() ? starts[i + 1] : *table;
    const QByteArray trailer = b.mid(at, tableNamed - at);
    part.root = referenceIn(trailer, "Root");
    part.info = referenceIn(trailer, "Info");
    static const QRegularExpression idPattern(QStringLiteral("/ID\\s*\\[[^\\]]*\\]"));
    part.id = idPattern.match(QString::fromLatin1(trailer)).captured().toLatin1();
    return part.root > 0 && !starts.empty();
}

/// The bytes of object n, from "n 0 obj" to where the next one starts.
QByteArray objectBytes(const Part &part, int n)
{
    if (n <= 0 || static_cast<size_t>(n) >= part.start.size() || part.start[static_cast<size_t>(n)] < 0)
        return {};
    const qint64 start = part.start[static_cast<size_t>(n)];
    return QByteArray::fromRawData(part.bytes.constData() + start, part.end.at(start) - start);
}

/// Where the object's dictionary ends and its stream (copied as it is) begins.
qsizetype streamStart(const QByteArray &object)
{
    for (qsizetype at = object.indexOf("stream"); at > 0; at = object.indexOf("stream", at + 1)) {
        qsizetype before = at - 1;
        while (before > 0 && QChar::isSpace(static_cast<uchar>(object[before])))
            --before;
        if (before > 0 && object[before] == '>' && object[before - 1] == '>')
            return at;
    }
    return object.size();
}

const QRegularExpression &referencePattern()
{
    static const QRegularExpression pattern(QStringLiteral("(?<![\\d.])(\\d+)\\s+0\\s+R(?![A-Za-z0-9])"));
    return pattern;
}

/// A dictionary's text with each reference n 0 R replaced by numberOf(n) 0 R.
template <typename NumberOf> QByteArray renumbered(const QByteArray &dictionary, NumberOf &&numberOf)
{
    const QString text = QString::fromLatin1(dictionary);
    QByteArray result;
    qsizetype copied = 0;
    auto match = referencePattern().globalMatch(text);
    while (match.hasNext()) {
        const QRegularExpressionMatch reference = match.next();
        result += dictionary.mid(copied, reference.capturedStart() - copied);
        result += QByteArray::number(numberOf(reference.captured(1).toInt())) + " 0 R";
        copied = reference.capturedEnd();
    }
    return result + dictionary.mid(copied);
}

std::vector<int> kidsOf(const Part &part, int pagesRoot)
{
    const QByteArray tree = objectBytes(part, pagesRoot);
    const qsizetype kids = tree.indexOf("/Kids");
    const qsizetype close = tree.indexOf(']', kids);
    std::vector<int> pages;
    if (kids < 0 || close < 0)
        return pages;
    auto match = referencePattern().globalMatch(QString::fromLatin1(tree.mid(kids, close - kids)));
    while (match.hasNext())
        pages.push_back(match.next().captured(1).toInt());
    return pages;
}

/// Writes the joined file, objects numbered in the order they are reached.
class Joiner {
public:
    explicit Joiner(QIODevice &out) : m_out(out) {}

    bool add(const Part &part, bool first)
    {
        const int pagesRoot = referenceIn(objectBytes(part, part.root), "Pages");
        const std::vector<int> pages = kidsOf(part, pagesRoot);
        if (pages.empty())
            return false;
        std::unordered_map<int, int> numbers{{pagesRoot, PagesRoot}};
        std::deque<int> waiting;
        const auto numberOf = [&](int old) {
            auto [it, isNew] = numbers.try_emplace(old, 0);
            if (isNew) {
                it->second = static_cast<int>(m_offsets.size()) + 1;
                m_offsets.push_back(-1);
                waiting.push_back(old);
            }
            return it->second;
        };
        if (first) {
            qint64 firstObject = part.bytes.size();
            for (qint64 start : part.start)
                if (start >= 0)
                    firstObject = std::min(firstObject, start);
            write(part.bytes.left(firstObject)); // the version and the binary marker
            m_root = numberOf(part.root);
            m_info = part.info > 0 ? numberOf(part.info) : 0;
            m_id = part.id;
        }
        for (int page : pages)
            m_kids.push_back(numberOf(page));
        while (!waiting.empty()) {
            const int old = waiting.front();
            waiting.pop_front();
            const QByteArray object = objectBytes(part, old);
            const qsizetype headerEnd = object.indexOf("obj");
            if (headerEnd < 0)
                return false;
            const qsizetype dictionaryEnd = streamStart(object);
            m_offsets[static_cast<size_t>(numbers.at(old) - 1)] = m_written;
            write(QByteArray::number(numbers.at(old)) + " 0 obj");
            write(renumbered(object.mid(headerEnd + 3, dictionaryEnd - headerEnd - 3), numberOf));
            write(object.mid(dictionaryEnd));
        }
        return true;
    }

    bool finish()
    {
        m_offsets[PagesRoot - 1] = m_written;
        QByteArray tree = QByteArray::number(PagesRoot) + " 0 obj\n<<\n/Type /Pages\n/Kids [\n";
        for (int kid : m_kids)
            tree += QByteArray::number(kid) + " 0 R\n";
        tree += "]\n/Count " + QByteArray::number(static_cast<qsizetype>(m_kids.size())) + "\n>>\nendobj\n";
        write(tree);
        const qint64 table = m_written;
        QByteArray xref = "xref\n0 " + QByteArray::number(static_cast<qsizetype>(m_offsets.size()) + 1) +
                          "\n0000000000 65535 f \n";
        for (qint64 offset : m_offsets)
            xref += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
        xref += "trailer\n<<\n/Size " + QByteArray::number(static_cast<qsizetype>(m_offsets.size()) + 1) +
                (m_info ? "\n/Info " + QByteArray::number(m_info) + " 0 R" : QByteArray()) + "\n/Root " +
                QByteArray::number(m_root) + " 0 R\n" + (m_id.isEmpty() ? QByteArray() : m_id + '\n') +
                ">>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
        write(xref);
        return m_ok;
    }

private:
    static constexpr int PagesRoot = 1;

    void write(const QByteArray &bytes)
    {
        m_ok = m_ok && m_out.write(bytes) == bytes.size();
        m_written += bytes.size();
    }

    QIODevice &m_out;
    bool m_ok = true;
    qint64 m_written = 0;
    std::vector<qint64> m_offsets{-1}; ///< by new number - 1; the page tree's first
    std::vector<int> m_kids;
    QByteArray m_id;
    int m_root = 0;
    int m_info = 0;
};

} // namespace

bool joinPdfFiles(const QStringList &paths, QIODevice &out)
{
    if (paths.isEmpty())
        return false;
    Joiner joiner(out);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QFile file(paths[i]);
        Part part;
        if (!file.open(QIODevice::ReadOnly))
            return false;
        part.bytes = file.readAll();
        if (!readTable(part) || !joiner.add(part, i == 0))
            return false;
    }
    return joiner.finish();
}

} // namespace quillet
