// Asks KIO for previews as every KDE program does (a PreviewJob, through the
// thumbnail worker and whichever plug-in it picks by the file's type) and
// compares each with the thumbnail that `gridlook thumbnail` wrote.
//
//     gridlook-preview-check SIZE EXPECTED-FOLDER FILE...
//
// A file whose EXPECTED-FOLDER/NAME.png exists must give exactly that picture;
// any other file must fail. One line per file; the exit status is the number
// of files that did not do as expected.
#include <KFileItem>
#include <KIO/PreviewJob>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <map>

namespace {

struct Outcome {
    bool previewed = false;
    QImage image;
};

std::map<QString, Outcome> Previews(const QStringList& files, int size)
{
    KFileItemList items;
    for (const QString& file : files)
        items.append(KFileItem(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath())));
    std::map<QString, Outcome> outcomes;
    // The plug-ins that Dolphin enables until a person chooses others: all
    // but the text files' one. Without a list the job takes only the images'.
    const QStringList plugins = KIO::PreviewJob::defaultPlugins();
    auto* job = new KIO::PreviewJob(items, QSize(size, size), &plugins);
    QObject::connect(job, &KIO::PreviewJob::gotPreview, [&](const KFileItem& item, const QPixmap& preview) {
        outcomes[item.localPath()] = {true, preview.toImage().convertToFormat(QImage::Format_RGB32)};
    });
    QObject::connect(job, &KIO::PreviewJob::failed,
                     [&](const KFileItem& item) { outcomes[item.localPath()] = {false, {}}; });
    job->exec();
    return outcomes;
}

int CountDifferingPixels(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return actual.width() * actual.height() + 1;
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            differing += actual.pixel(x, y) != expected.pixel(x, y);
    return differing;
}

// Prints what happened to one file; true when it is what was expected.
bool Check(const QString& file, const Outcome& outcome, const QString& expectedFolder)
{
    const QString name = QFileInfo(file).fileName();
    const QString expectedPath = QDir(expectedFolder).filePath(name + ".png");
    const QByteArray shown = name.toLocal8Bit();
    if (!QFileInfo::exists(expectedPath)) {
        std::printf("%s  %s: %s\n", outcome.previewed ? "FAILED" : "ok    ", shown.constData(),
                    outcome.previewed ? "a preview of a file gridlook declines" : "no preview");
        return !outcome.previewed;
    }
    if (!outcome.previewed) {
        std::printf("FAILED  %s: no preview\n", shown.constData());
        return false;
    }
    const QImage expected = QImage(expectedPath).convertToFormat(QImage::Format_RGB32);
    const int differing = CountDifferingPixels(outcome.image, expected);
    std::printf("%s  %s: %d x %d, %d pixels differ from gridlook thumbnail's %d x %d\n",
                differing == 0 ? "ok    " : "FAILED", shown.constData(), outcome.image.width(),
                outcome.image.height(), differing, expected.width(), expected.height());
    return differing == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: gridlook-preview-check SIZE EXPECTED-FOLDER FILE...\n");
        return 2;
    }
    const QStringList files = arguments.mid(2);
    const std::map<QString, Outcome> outcomes = Previews(files, arguments[0].toInt());
    int failures = 0;
    for (const QString& file : files) {
        const auto outcome = outcomes.find(QFileInfo(file).absoluteFilePath());
        failures += !Check(file, outcome == outcomes.end() ? Outcome{} : outcome->second, arguments[1]);
    }
    return failures;
}
