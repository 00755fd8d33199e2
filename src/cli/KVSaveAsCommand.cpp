#include "KVSaveAsCommand.h"

#include "Reporter.h"
#include "document/KVDocument.h"
#include "document/KVProjectPaths.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVSceneList.h"
#include "resources/KVResourceManager.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

QString KVSaveAsCommand::summary()
{
    return QStringLiteral("Save a project under a new name, with a copy of its resources.");
}

QString KVSaveAsCommand::usage()
{
    return QStringLiteral("Usage: kavio save-as PROJECT NEWPATH\n\n"
                          "Opens PROJECT (a .kavio file) as the editor would and saves it as NEWPATH\n"
                          "(a .kavio file in an existing folder), copying its resource files into the\n"
                          "new project's resource folder. PROJECT stays on disk as it was. An existing\n"
                          "NEWPATH is overwritten unless it is open. A NEWPATH ending in .kaviopack is\n"
                          "written as a package: one ZIP file with the project, its resource files and\n"
                          "its custom preloader, which Kavio Studio opens as a new project. Prints\n"
                          "  scenes=N elements=N timelines=N animations=N resources=N functions=N\n"
                          "for the saved project.\n"
                          "Exit code: 0 when saved, 1 when not, 2 for a usage error.\n");
}

int KVSaveAsCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (arguments.size() != 2) {
        std::fputs(usage().toLocal8Bit().constData(), stderr);
        return 2;
    }
    const QString strProject = QFileInfo(arguments.at(0)).absoluteFilePath();
    const QString strTarget = QFileInfo(arguments.at(1)).absoluteFilePath();
    const QString strSuffix = QFileInfo(strTarget).suffix().toLower();
    if (QFileInfo(strTarget).suffix() != QLatin1String("kavio") && strSuffix != QLatin1String("kaviopack")) {
        Reporter::error(QCoreApplication::translate("KVSaveAsCommand",
                                                    "The new project file must end in \".kavio\" or \".kaviopack\"."));
        return 1;
    }
    // Choosing between a project and its automatic backup is the user's decision; the tool does
    // not take it for them.
    if (QFileInfo(KVProjectPaths(strProject).backupFile()).exists()) {
        Reporter::error(QCoreApplication::translate(
            "KVSaveAsCommand", "The project has an automatic backup. Open it in Kavio Studio to choose which "
                               "version to keep."));
        return 1;
    }

    KVDocument document;
    if (!document.load(strProject))
        return 1;
    if (!document.save(strTarget))
        return 1;
    const QString strOut = QStringLiteral("scenes=%1 elements=%2 timelines=%3 animations=%4 resources=%5 functions=%6\n")
                               .arg(document.sceneList()->count())
                               .arg(document.elementCount())
                               .arg(document.timelineCount())
                               .arg(document.animationCount())
                               .arg(document.resourceManager()->liveResources().size())
                               .arg(document.functions()->count());
    std::fputs(strOut.toUtf8().constData(), stdout);
    std::fflush(stdout);
    document.close();
    return 0;
}
