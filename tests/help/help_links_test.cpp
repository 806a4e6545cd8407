// The help pages as installed beside the program (the folder in HELP_FOLDER):
// both start pages are there, every link and picture of every page resolves to
// a file of that folder, and every page and picture can be reached from the
// general page.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class HelpLinksTest : public QObject {
    Q_OBJECT
private slots:
    void everyLinkResolvesAndEveryFileIsReached();
};

void HelpLinksTest::everyLinkResolvesAndEveryFileIsReached()
{
    const QString folderPath = qEnvironmentVariable("HELP_FOLDER");
    QVERIFY2(!folderPath.isEmpty(), "HELP_FOLDER names the folder of the program and its help");
    const QDir folder(folderPath);
    // The program finds its help, both start pages, in its own folder.
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("verdalis"))).isExecutable());
    QStringList files = folder.entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    QVERIFY(files.contains(QStringLiteral("help-custom.htm")));

    static const QRegularExpression reference(
        QStringLiteral("\\b(?:href|src)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        QRegularExpression::CaseInsensitiveOption);
    // The pages travel with the program: nothing may point off the machine.
    static const QRegularExpression external(QStringLiteral("^[a-zA-Z][a-zA-Z0-9+.-]*:"));
    // Every page reached from the general page, its links followed.
    QSet<QString> reached{QStringLiteral("help-main.htm")};
    QStringList toVisit{QStringLiteral("help-main.htm")};
    while (!toVisit.isEmpty()) {
        const QString page = toVisit.takeFirst();
        QFile file(folder.filePath(page));
        QVERIFY2(file.open(QIODevice::ReadOnly) && file.size() > 0, qPrintable(page));
        const QString html = QString::fromUtf8(file.readAll());
        for (auto match = reference.globalMatch(html); match.hasNext();) {
            const auto found = match.next();
            const QString target = found.captured(1) + found.captured(2);
            const QString where = page + QStringLiteral(": ") + target;
            QVERIFY2(!target.isEmpty() && !external.match(target).hasMatch(), qPrintable(where));
            const QString name = target.section(u'#', 0, 0);
            const QString linked =
                name.isEmpty() ? page
                               : folder.relativeFilePath(
                                     QDir::cleanPath(QFileInfo(file).absolutePath() + u'/' + name));
            QVERIFY2(!linked.startsWith(QLatin1String("..")),
                     qPrintable(where + QStringLiteral(" leaves the folder")));
            QVERIFY2(QFileInfo(folder.filePath(linked)).isFile(),
                     qPrintable(where + QStringLiteral(" is missing")));
            if (!reached.contains(linked) && linked.endsWith(QLatin1String(".htm")))
                toVisit << linked;
            reached.insert(linked);
        }
    }
    QDirIterator pictures(folder.path() + QStringLiteral("/help-pictures"),
                          {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    const qsizetype pages = files.size();
    while (pictures.hasNext())
        files << folder.relativeFilePath(pictures.next());
    QVERIFY(files.size() > pages);
    for (const QString &file : files)
        QVERIFY2(reached.contains(file),
                 qPrintable(file + QStringLiteral(" is linked from no page")));
}

QTEST_GUILESS_MAIN(HelpLinksTest)
#include "help_links_test.moc"
