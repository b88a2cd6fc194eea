// Colour scheme files: any bytes as a scheme either apply or fail with one of the program's own errors, and the
// settings file stays readable afterwards.
#include "FuzzSupport.h"
#include "core/Errors.h"
#include "core/AtomicFile.h"
#include "core/ProfileStrings.h"
#include "window/settings/ColourSchemes.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    static QTemporaryDir folder;
    const QString schemePath = folder.filePath(QStringLiteral("fuzz.pvc"));
    const QString settingsPath = folder.filePath(QStringLiteral("Parlivo.ini"));
    {
        QFile scheme(schemePath);
        FUZZ_CHECK(scheme.open(QIODevice::WriteOnly | QIODevice::Truncate));
        scheme.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    SaveFileAtomically(settingsPath, "[Parlivo Settings]\r\nSpeed=3\r\n[Customisation]\r\nFontSize=12\r\n");

    const QStringList lines = ReadTextLines(schemePath);
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            FUZZ_CHECK(FindKeyLine(lines, line.left(eq).trimmed()) >= 0);
    }
    (void)KeyLineValue(lines, u"FontName");
    QStringList edited = lines;
    SetKeyLine(edited, QStringLiteral("Colour"), QStringLiteral("255"));
    FUZZ_CHECK(KeyLineValue(edited, u"colour") == QStringLiteral("255"));

    AppearanceSettings appearance;
    try {
        CopySchemeIntoSettings(schemePath, settingsPath, appearance);
    } catch (const ParlivoError&) {
    }
    const ProfileDocument settings = ProfileDocument::load(settingsPath);
    FUZZ_CHECK(settings.value(u"Parlivo Settings", u"Speed") == QStringLiteral("3"));
    return 0;
}
