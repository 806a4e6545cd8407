// The help pages as installed beside the program (the folder in HELP_FOLDER):
// both start pages are there, every link and picture of every page resolves to a
// file of that folder (and an anchor of it), every page can be reached from the
// general page, and every picture is shown somewhere.
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

bool isExternal(const QString &target)
{
    static const QRegularExpression scheme(QStringLiteral("^[a-zA-Z][a-zA-Z0-9+.-]*:"));
    return scheme.match(target).hasMatch();
}

} // namespace

class HelpLinksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void programAndStartPagesAreThere();
    void everyLinkResolves();
    void everyPageCanBeReached();
    void everyPictureIsShown();

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
    m_pages = m_folder.entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    QVERIFY(m_pages.size() > 2);

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

void HelpLinksTest::programAndStartPagesAreThere()
{
    // The program finds its help in its own folder.
    QVERIFY(QFileInfo(path(QStringLiteral("verdalis"))).isExecutable());
    QVERIFY(m_pages.contains(QStringLiteral("help-main.htm")));
    QVERIFY(m_pages.contains(QStringLiteral("help-custom.htm")));
}

void HelpLinksTest::everyLinkResolves()
{
    QVERIFY(!m_links.isEmpty());
    for (const Link &link : m_links) {
        const QString where = link.page + QStringLiteral(": ") + link.target;
        QVERIFY2(!link.target.isEmpty(), qPrintable(where));
        // The pages travel with the program: nothing may point off the machine.
        QVERIFY2(!isExternal(link.target), qPrintable(where));
        const QString file = resolve(link);
        QVERIFY2(!file.isEmpty(), qPrintable(where + QStringLiteral(" leaves the folder")));
        QVERIFY2(QFileInfo(path(file)).isFile(), qPrintable(where + QStringLiteral(" is missing")));
        const QString anchor = link.target.section(u'#', 1);
        if (anchor.isEmpty())
            continue;
        const QString html = readText(path(file));
        const QRegularExpression named(QStringLiteral("\\b(?:id|name)\\s*=\\s*\"%1\"")
                                           .arg(QRegularExpression::escape(anchor)));
        QVERIFY2(html.contains(named), qPrintable(where + QStringLiteral(": no such anchor")));
    }
}

void HelpLinksTest::everyPageCanBeReached()
{
    QSet<QString> reached{QStringLiteral("help-main.htm")};
    QStringList toVisit{QStringLiteral("help-main.htm")};
    while (!toVisit.isEmpty()) {
        const QString page = toVisit.takeFirst();
        for (const Link &link : m_links) {
            if (link.page != page || isExternal(link.target))
                continue;
            const QString file = resolve(link);
            if (file.endsWith(QLatin1String(".htm")) && !reached.contains(file)) {
                reached.insert(file);
                toVisit << file;
            }
        }
    }
    for (const QString &page : m_pages)
        QVERIFY2(reached.contains(page),
                 qPrintable(page + QStringLiteral(" is linked from no page")));
}

void HelpLinksTest::everyPictureIsShown()
{
    QSet<QString> shown;
    for (const Link &link : m_links)
        if (!isExternal(link.target))
            shown.insert(resolve(link));
    QDirIterator pictures(m_folder.path(), {QStringLiteral("*.png")}, QDir::Files,
                          QDirIterator::Subdirectories);
    int count = 0;
    while (pictures.hasNext()) {
        const QString picture = m_folder.relativeFilePath(pictures.next());
        if (!picture.startsWith(QLatin1String("help-pictures/")))
            continue;
        ++count;
        QVERIFY2(shown.contains(picture), qPrintable(picture + QStringLiteral(" is on no page")));
    }
    QVERIFY(count > 0);
}

QTEST_GUILESS_MAIN(HelpLinksTest)
#include "help_links_test.moc"
