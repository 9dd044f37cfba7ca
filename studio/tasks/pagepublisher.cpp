// SPDX-License-Identifier: MIT
#include "pagepublisher.h"

#include "leveldocument.h"
#include "levelsaver.h"
#include "platform.h"
#include "publisher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString PageRuntime = QStringLiteral("web/quillmoorpage.html");

std::string local(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

PagePublisher::PagePublisher(LevelDocument &document, Platform &platform, LevelSaver &saver)
    : document(document)
    , platform(platform)
    , saver(saver)
    , files(platform)
{
}

void PagePublisher::publish(QWidget *parent)
{
    const QString runtime = files.file(PageRuntime);
    if (runtime.isEmpty()) {
        platform.inform(parent, QStringLiteral("The level cannot be published as a web page: the page runtime "
                                               "\"%1\" is not installed with the studio. It is built with the "
                                               "programs where emscripten is installed.")
                                    .arg(PageRuntime));
        return;
    }
    // The page holds the level as it is on disk.
    if (!saver.saveWithWarnings(parent))
        return;

    const QString suggested
        = QFileInfo(QFile::decodeName(Publisher::defaultOutput(local(document.levelfile)).c_str())).absoluteFilePath();
    const QString target = platform.saveFile(parent, QStringLiteral("Publish as Web Page"),
                                             QStringLiteral("Web pages (*.html)"), suggested);
    if (target.isEmpty())
        return;

    // The level goes in as the player would be given it, relative to the
    // current folder; the levels it leads to are found from there.
    Publisher::Job job;
    job.level = local(document.levelfile);
    job.output = local(target);
    job.runtime = local(runtime);
    const QString language = files.language();
    if (!language.isEmpty())
        job.languageFile = local(language);
    const Publisher::Result result = Publisher::publish(job);
    if (!result.ok()) {
        platform.inform(parent, QString::fromStdString(result.error));
        return;
    }
    platform.inform(parent, QStringLiteral("The level is published as the web page \"%1\". Open it in any browser "
                                           "to play it.")
                                .arg(QDir::toNativeSeparators(target)));
}
