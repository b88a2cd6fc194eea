#include "core/TextRoutines.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

bool isControl(QChar c)
{
    return c.unicode() <= 32;
}

QString replaceTabs(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// Every tag goes, from its "<" to the last ">" of the first run of ">" after it, in one pass: the text
// before the first "<" never holds another "<", so each new search can start where the last tag ended.
QString removeTags(const QString& text)
{
    const qsizetype n = text.size();
    QString out;
    out.reserve(n);
    bool noMoreEnds = false;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('<')) {
            out.append(c);
            ++i;
            continue;
        }
        qsizetype end = -1;
        if (!noMoreEnds) {
            for (qsizetype q = i; q < n; ++q) {
                if (text.at(q) == QLatin1Char('>') && (q + 1 == n || text.at(q + 1) != QLatin1Char('>'))) {
                    end = q;
                    break;
                }
            }
        }
        if (end < 0) {
            // A "<" that is never closed: only the "<" goes, and no later "<" can be closed either.
            noMoreEnds = true;
            ++i;
        } else {
            i = end + 1;
        }
    }
    return out;
}

// Walks from the last character to the first; an "&" not followed by a space deletes everything up to the
// first ";" after it in the text as it stands by then. The processed tail is kept reversed, so deleting
// from its front is popping from the back, and each character is pushed and popped at most once.
QString removeEntities(const QString& text)
{
    std::vector<QChar> tail;
    tail.reserve(text.size());
    qsizetype semicolons = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&') && (tail.empty() || tail.back() != QLatin1Char(' ')) && semicolons > 0) {
            while (tail.back() != QLatin1Char(';'))
                tail.pop_back();
            continue;
        }
        if (c == QLatin1Char(';'))
            ++semicolons;
        tail.push_back(c);
    }
    QString out;
    out.reserve(qsizetype(tail.size()));
    for (auto it = tail.rbegin(); it != tail.rend(); ++it)
        out.append(*it);
    return out;
}

QString collapseRuns(const QString& text, QChar ch)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == ch && i > 0 && text.at(i - 1) == ch)
            continue;
        out.append(c);
    }
    return out;
}

bool wildcardMatch(QStringView name, QStringView pattern)
{
    // Iterative "*" and "?" matching without letter case, as file masks behave on the desktop the files
    // come from; "[" is an ordinary character there.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern.at(p) == QLatin1Char('?') || pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// The folder as it exists on disk: each part that does not exist as written is looked up without regard
// to letter case ("Schemes" finds "schemes"). Empty when some part cannot be found.
QString existingFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return folder;
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (const QString& part : parts) {
        QDir dir(current);
        if (QFileInfo(dir.filePath(part)).isDir()) {
            current = dir.filePath(part);
            continue;
        }
        const QStringList entries =
            dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const QString& entry) { return entry.compare(part, Qt::CaseInsensitive) == 0; });
        if (found == entries.end())
            return {};
        current = dir.filePath(*found);
    }
    return current;
}

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

QString TrimControl(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControl(text.at(begin)))
        ++begin;
    while (end > begin && isControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimLeftControl(const QString& text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isControl(text.at(begin)))
        ++begin;
    return text.mid(begin);
}

QString CollapseSpaces(const QString& text)
{
    return collapseRuns(text, QLatin1Char(' '));
}

QString CollapseCharRuns(const QString& text, const QString& ch)
{
    if (ch.size() != 1)
        return text;
    return collapseRuns(text, ch.at(0));
}

QString CrLfToSpace(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            out.append(QLatin1Char(' '));
            ++i;
        } else {
            out.append(text.at(i));
        }
    }
    return out;
}

QString HtmlToText(const QString& text)
{
    // Trimming the left after each tag, as the steps are usually told, changes nothing that the trim after
    // the tabs does not do anyway: only characters of code 32 or below ever become leading.
    QString s = removeTags(text);
    s = TrimControl(replaceTabs(s));
    s = TrimControl(CrLfToSpace(s));
    s = CollapseSpaces(s);
    s = removeEntities(s);
    s = CollapseCharRuns(s, QStringLiteral(";"));
    s.replace(QLatin1Char(';'), QLatin1Char(' '));
    return TrimControl(s);
}

RunResult RunProgram(const QString& program, const QStringList& arguments, std::chrono::milliseconds limit)
{
    RunResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so a program that hangs is killed together with any helpers it started.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted(-1))
        return result;
    result.started = true;

    if (QCoreApplication::instance()) {
        // Timers and paint events go on while the program runs, so the window never looks frozen; the
        // user's clicks and keys wait until it has finished.
        QEventLoop loop;
        QTimer limitTimer;
        limitTimer.setSingleShot(true);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&limitTimer, &QTimer::timeout, &loop, [&] {
            result.timedOut = true;
            loop.quit();
        });
        limitTimer.start(limit);
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else if (!process.waitForFinished(int(std::min<qint64>(limit.count(), INT_MAX)))) {
        result.timedOut = true;
    }

    if (result.timedOut && process.state() != QProcess::NotRunning) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.kill();
        process.waitForFinished(-1); // reaps the killed program
    }
    if (result.timedOut || process.exitStatus() == QProcess::CrashExit) {
        result.crashed = !result.timedOut;
        result.exitCode = -1;
    } else {
        result.exitCode = process.exitCode();
    }
    return result;
}

int RunAndWait(const QString& program, const QStringList& arguments)
{
    return RunProgram(program, arguments).exitCode;
}

void ListFiles(const QString& mask, QStringList& list)
{
    const QFileInfo maskInfo(mask);
    const QString folder = existingFolder(maskInfo.path());
    if (folder.isEmpty())
        return;
    const QString pattern = maskInfo.fileName();
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (wildcardMatch(name, pattern))
            list.append(name);
    }
}

void ShellOpen(const QString& target)
{
    if (target.isEmpty())
        return;
    const QFileInfo file(target);
    if (file.exists())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    else
        QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

void ClearGridKeepHeader(QTableWidget* grid)
{
    // The header row is the horizontal header, which clearContents leaves alone. The row left behind gets
    // empty items, so callers may read its cells without checking for missing ones.
    grid->clearContents();
    grid->setRowCount(1);
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setItem(0, column, grid->itemPrototype() ? grid->itemPrototype()->clone() : new QTableWidgetItem);
}

bool GridFirstColumnBlank(const QTableWidget* grid)
{
    if (grid->columnCount() == 0)
        return true;
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (!TrimControl(cellText(grid, row, 0)).isEmpty())
            return false;
    }
    return true;
}
