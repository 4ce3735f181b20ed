#include "platform/linux/desktop/DesktopDocumentOpener.h"
#include "FileTestSupport.h"
#include "PlatformTestSupport.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

namespace {

// Stands in for the desktop, so the test starts no editor.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

using DesktopDocumentOpenerTest = filetest::TempDirTest;

TEST_F(DesktopDocumentOpenerTest, HandsAnExistingFileToTheDesktop) {
    platformtest::application();
    UrlRecorder desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");
    const QString file = path("settings with blanks.ini");
    filetest::writeBytes(file, "[S]\r\n");

    DesktopDocumentOpener opener;
    EXPECT_TRUE(opener.openDocument(file));
    EXPECT_FALSE(opener.openDocument(path("missing.ini")));
    EXPECT_FALSE(opener.openDocument(dirPath()));
    QDesktopServices::unsetUrlHandler("file");

    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened.front(), QUrl::fromLocalFile(file));
    EXPECT_EQ(desktop.opened.front().toLocalFile(), file);
}

} // namespace

#include "DesktopDocumentOpenerTest.moc"
