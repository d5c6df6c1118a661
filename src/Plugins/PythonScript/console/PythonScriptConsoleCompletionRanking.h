#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <bitset>

// Orders completion candidates by how many words of the history contain them, most first, and
// drops the names of no use at the console ("QVariant..." and "__dunder__" names).
//
// A history word is a part of an entry split at every run of characters other than ASCII
// letters and digits, empty parts included. The words are indexed by their substrings and
// the index grows with the history, so ranking costs one lookup per candidate.
class PythonScriptConsoleCompletionRanking
{
public:
    // The kept candidates, highest count first; equal counts keep their order. With a positive
    // limit, only the first limit of that order.
    QStringList rank(const QStringList& candidates, const QStringList& history, qsizetype limit = 0);
    // Indexes the history entries added since the last call (all of them for another history).
    void update(const QStringList& history);
    // The number of history words containing candidate (case-sensitive), as of the last update.
    qint64 count(const QString& candidate) const;

    static bool isKept(const QString& candidate);

private:
    static QStringList ordered(QList<std::pair<QString, qint64>> ranked, qsizetype limit);
    static void keepFirst(QList<std::pair<QString, qint64>>& ranked, qsizetype limit);
    void addEntry(const QString& entry);
    void addWord(const QByteArray& word);

    QStringList indexedHistory;
    qint64 wordCount = 0;
    QHash<QByteArray, qint64> words;
    QHash<QByteArray, qint64> substrings;
    // The pairs of characters that follow each other in some word, as first * 128 + second:
    // most names of a library start with a pair no word holds, and count 0 without a lookup.
    std::bitset<128 * 128> pairs;
};
