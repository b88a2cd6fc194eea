// Each library may use only the libraries below it; a header of a higher one included from a lower one is a
// fault even where the build happens to find it.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <map>

namespace {

const std::map<QString, QStringList>& allowedIncludes()
{
    static const std::map<QString, QStringList> allowed = {
        {QStringLiteral("core"), {QStringLiteral("core")}},
        {QStringLiteral("formats"), {QStringLiteral("core"), QStringLiteral("formats")}},
        {QStringLiteral("speech"), {QStringLiteral("core"), QStringLiteral("speech")}},
        {QStringLiteral("export"), {QStringLiteral("core"), QStringLiteral("speech"), QStringLiteral("export")}},
        {QStringLiteral("window"),
         {QStringLiteral("core"), QStringLiteral("formats"), QStringLiteral("speech"), QStringLiteral("export"),
          QStringLiteral("window")}},
        {QStringLiteral("cli"),
         {QStringLiteral("core"), QStringLiteral("formats"), QStringLiteral("speech"), QStringLiteral("export"),
          QStringLiteral("cli")}},
        {QStringLiteral("app"), {QStringLiteral("window")}},
        // The launcher starts quickly because it links none of them.
        {QStringLiteral("launcher"), {}},
    };
    return allowed;
}

} // namespace

TEST(Layering, LibrariesIncludeOnlyTheLibrariesBelowThem)
{
    const QString root = QStringLiteral(PARLIVO_SOURCE_DIR);
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"([a-z]+)/)"),
                                     QRegularExpression::MultilineOption);
    QStringList faults;
    int files = 0;
    for (const auto& [library, allowed] : allowedIncludes()) {
        QDirIterator it(root + u'/' + library, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
            ++files;
            const QString text = QString::fromUtf8(file.readAll());
            for (auto match = include.globalMatch(text); match.hasNext();) {
                const QString used = match.next().captured(1);
                if (allowedIncludes().count(used) && !allowed.contains(used))
                    faults << file.fileName().mid(root.size() + 1) + QStringLiteral(" includes ") + used;
            }
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(faults.join(u'\n'));
}
