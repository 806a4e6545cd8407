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

namespace {

struct Link {
    QString page; // the page that links, relative to the folder
    QString target;
};

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class HelpLinksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyLinkResolves();
    void everyPageAndPictureCanBeReached();

private:
    QString path(const QString &relative) const { return m_folder.filePath(relative); }
    // The file a link of a page names, relative to the folder; empty when it
    // leaves the folder.
    QString resolve(const Link &link) const;

    QDir m_folder;
    QStringList m_pages;
    QList<Link> m_links;
};

void HelpLinksTest::initTestCase()
{
    const QString folder = qEnvironmentVariable("HELP_FOLDER");
    QVERIFY2(!folder.isEmpty(), "HELP_FOLDER names the folder of the program and its help");
    m_folder = QDir(folder);
    QVERIFY2(m_folder.exists(), qPrintable(folder));
    // The program finds its help, both start pages, in its own folder.
    QVERIFY(QFileInfo(path(QStringLiteral("verdalis"))).isExecutable());
    m_pages = m_folder.entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    QVERIFY(m_pages.contains(QStringLiteral("help-main.htm")));
    QVERIFY(m_pages.contains(QStringLiteral("help-custom.htm")));

    static const QRegularExpression reference(
        QStringLiteral("\\b(?:href|src)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString &page : m_pages) {
        const QString html = readText(path(page));
        QVERIFY2(!html.isEmpty(), qPrintable(page));
        for (auto match = reference.globalMatch(html); match.hasNext();) {
            const auto found = match.next();
            const QString target = found.captured(1) + found.captured(2);
            m_links << Link{page, target};
        }
    }
}

QString HelpLinksTest::resolve(const Link &link) const
{
    const QString file = link.target.section(u'#', 0, 0);
    if (file.isEmpty())
        return link.page;
    const QString absolute =
        QDir::cleanPath(QFileInfo(path(link.page)).absolutePath() + u'/' + file);
    const QString relative = m_folder.relativeFilePath(absolute);
    return relative.startsWith(QLatin1String("..")) ? QString() : relative;
}

void HelpLinksTest::everyLinkResolves()
{
    // The pages travel with the program: nothing may point off the machine.
    static const QRegularExpression external(QStringLiteral("^[a-zA-Z][a-zA-Z0-9+.-]*:"));
    QVERIFY(!m_links.isEmpty());
    for (const Link &link : m_links) {
        const QString where = link.page + QStringLiteral(": ") + link.target;
        QVERIFY2(!link.target.isEmpty(), qPrintable(where));
        QVERIFY2(!external.match(link.target).hasMatch(), qPrintable(where));
        const QString file = resolve(link);
        QVERIFY2(!file.isEmpty(), qPrintable(where + QStringLiteral(" leaves the folder")));
        QVERIFY2(QFileInfo(path(file)).isFile(), qPrintable(where + QStringLiteral(" is missing")));
    }
}

// Every page and every picture of the help can be reached from the general
// page.
void HelpLinksTest::everyPageAndPictureCanBeReached()
{
    QSet<QString> reached{QStringLiteral("help-main.htm")};
    QStringList toVisit{QStringLiteral("help-main.htm")};
    while (!toVisit.isEmpty()) {
        const QString page = toVisit.takeFirst();
        for (const Link &link : m_links) {
            if (link.page != page)
                continue;
            const QString file = resolve(link);
            if (!reached.contains(file) && file.endsWith(QLatin1String(".htm")))
                toVisit << file;
            reached.insert(file);
        }
    }
    QStringList files = m_pages;
    QDirIterator pictures(m_folder.path() + QStringLiteral("/help-pictures"),
                          {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (pictures.hasNext())
        files << m_folder.relativeFilePath(pictures.next());
    QVERIFY(files.size() > m_pages.size());
    for (const QString &file : files)
        QVERIFY2(reached.contains(file),
                 qPrintable(file + QStringLiteral(" is linked from no page")));
}

QTEST_GUILESS_MAIN(HelpLinksTest)
#include "help_links_test.moc"
