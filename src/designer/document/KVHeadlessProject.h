#pragma once

#include "document/KVDocumentSettings.h"
#include "document/KVProjectFile.h"
#include "document/KVSymbol.h"
#include "model/IKVDocumentContext.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class KVEventListenerList;

// A project opened without the editor, as the command-line tool and the tests open one: the
// project's symbol and settings read and written through the project file reader and writer, in the
// project folder of its file.
//
// Besides opening and saving it sums the project up and lists what a reader of the file should know:
// resource files that are missing, event and action codes this version does not know (they are kept
// as they are) and elements that could not be read and were left out.
class KVHeadlessProject : public KVSymbol, public IKVDocumentContext
{
    Q_DECLARE_TR_FUNCTIONS(KVHeadlessProject)

public:
    explicit KVHeadlessProject(const QString &strFileName = QString());
    ~KVHeadlessProject() override;

    QString fileName() const { return m_strFileName; }
    void setFileName(const QString &strFileName) { m_strFileName = strFileName; }
    KVDocumentSettings &settings() { return m_settings; }
    const KVDocumentSettings &settings() const { return m_settings; }
    KVProjectFile &projectFile() { return m_projectFile; }

    // Reads the project file; false (reported) when it cannot be opened.
    bool open();
    // Writes the project file (to the given path, or to its own file when empty).
    bool save(const QString &strPath = QString());

    // "scenes=N elements=N timelines=N animations=N resources=N functions=N".
    QString summary() const;
    // One line per problem found by the last open().
    QStringList problems() const { return m_problems; }

    // IKVDocumentContext
    KVImageUseCounter *imageUseCounter() const override;
    QString projectFolderPath() const override;
    QString resourceFolderPath() const override;
    int formatVersion() const override { return m_projectFile.formatVersion(); }

private:
    void findProblems(const QJsonObject &joTop);
    void checkHandlers(const KVEventListenerList *pList, const QString &strOwner);
    void checkSkippedElements(const KVScene *pScene, const KVElement *pParent, const QJsonArray &jaChildren);

    QString m_strFileName;
    KVDocumentSettings m_settings;
    KVProjectFile m_projectFile;
    QStringList m_problems;
};
