#include "console/PythonScriptConsoleCompletionRanking.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace {

// Substrings up to this length are indexed; longer candidates are counted word by word.
constexpr int indexedLength = 32;

bool isWordCharacter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
}

} // namespace

bool PythonScriptConsoleCompletionRanking::isKept(const QString& candidate)
{
    // Asked for every name of a library: most start with neither letter.
    const QChar first = candidate.isEmpty() ? QChar() : candidate.front();
    if (first == QLatin1Char('Q'))
        return !candidate.startsWith(QLatin1String("QVariant"));
    if (first == QLatin1Char('_'))
        return !(candidate.startsWith(QLatin1String("__")) && candidate.endsWith(QLatin1String("__")));
    return true;
}

QStringList PythonScriptConsoleCompletionRanking::rank(const QStringList& candidates, const QStringList& history,
                                                      qsizetype limit)
{
    update(history);
    QList<std::pair<QString, qint64>> ranked;
    ranked.reserve(candidates.size());
    for (const QString& candidate : candidates) {
        if (isKept(candidate))
            ranked.append({candidate, count(candidate)});
    }
    return ordered(std::move(ranked), limit);
}

QStringList PythonScriptConsoleCompletionRanking::ordered(QList<std::pair<QString, qint64>> ranked, qsizetype limit)
{
    if (limit > 0 && ranked.size() > limit)
        keepFirst(ranked, limit);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    QStringList result;
    result.reserve(ranked.size());
    for (const auto& entry : std::as_const(ranked))
        result.append(entry.first);
    return result;
}

void PythonScriptConsoleCompletionRanking::keepFirst(QList<std::pair<QString, qint64>>& ranked, qsizetype limit)
{
    // The first limit entries of the stable order are those counted above the limit-th highest
    // count, then the ones at that count in their order until the limit is reached.
    QList<qint64> counts;
    counts.reserve(ranked.size());
    for (const auto& entry : std::as_const(ranked))
        counts.append(entry.second);
    std::nth_element(counts.begin(), counts.begin() + (limit - 1), counts.end(), std::greater<>());
    const qint64 lowest = counts.at(limit - 1);
    qsizetype lowestKept = limit - std::count_if(counts.cbegin(), counts.cbegin() + limit,
                                                 [lowest](qint64 count) { return count > lowest; });
    ranked.removeIf([&lowestKept, lowest](const auto& entry) {
        if (entry.second > lowest)
            return false;
        return entry.second < lowest || lowestKept-- <= 0;
    });
}

qint64 PythonScriptConsoleCompletionRanking::count(const QString& candidate) const
{
    if (candidate.isEmpty())
        return wordCount;
    // Words hold only ASCII letters and digits: no other candidate is inside one.
    if (candidate.size() >= 2 && isWordCharacter(candidate.at(0)) && isWordCharacter(candidate.at(1))
        && !pairs.test(candidate.at(0).unicode() * 128 + candidate.at(1).unicode()))
        return 0;
    if (!std::all_of(candidate.cbegin(), candidate.cend(), isWordCharacter))
        return 0;
    // ASCII throughout: copied into a buffer of its own, no allocation per candidate.
    char latin1[indexedLength];
    if (candidate.size() <= indexedLength) {
        std::transform(candidate.cbegin(), candidate.cend(), latin1, [](QChar c) { return char(c.unicode()); });
        return substrings.value(QByteArray::fromRawData(latin1, candidate.size()));
    }
    const QByteArray key = candidate.toLatin1();
    qint64 total = 0;
    for (auto it = words.cbegin(); it != words.cend(); ++it) {
        if (it.key().contains(key))
            total += it.value();
    }
    return total;
}

void PythonScriptConsoleCompletionRanking::update(const QStringList& history)
{
    if (history.isSharedWith(indexedHistory))
        return;
    const qsizetype known = indexedHistory.size();
    const bool grown = history.size() >= known
        && std::equal(indexedHistory.cbegin(), indexedHistory.cend(), history.cbegin());
    if (!grown) {
        indexedHistory.clear();
        wordCount = 0;
        words.clear();
        substrings.clear();
        pairs.reset();
    }
    for (qsizetype i = indexedHistory.size(); i < history.size(); ++i)
        addEntry(history.at(i));
    indexedHistory = history;
}

void PythonScriptConsoleCompletionRanking::addEntry(const QString& entry)
{
    // Splitting keeps empty parts: one part more than there are separator runs.
    qsizetype start = -1;
    ++wordCount;
    for (qsizetype i = 0; i <= entry.size(); ++i) {
        const bool inWord = i < entry.size() && isWordCharacter(entry.at(i));
        if (inWord && start < 0)
            start = i;
        if (inWord)
            continue;
        if (start >= 0) {
            addWord(entry.mid(start, i - start).toLatin1());
            start = -1;
        }
        if (i < entry.size() && (i + 1 == entry.size() || isWordCharacter(entry.at(i + 1))))
            ++wordCount; // a separator run ends here
    }
}

void PythonScriptConsoleCompletionRanking::addWord(const QByteArray& word)
{
    ++words[word];
    for (qsizetype i = 1; i < word.size(); ++i)
        pairs.set(uchar(word.at(i - 1)) * 128 + uchar(word.at(i)));
    QSet<QByteArray> seen;
    for (qsizetype from = 0; from < word.size(); ++from) {
        const qsizetype longest = std::min<qsizetype>(indexedLength, word.size() - from);
        for (qsizetype length = 1; length <= longest; ++length) {
            const QByteArray part = word.mid(from, length);
            if (!seen.contains(part)) {
                seen.insert(part);
                ++substrings[part];
            }
        }
    }
}
