#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class IKVDocumentContext;
class IKVLocationStore;
class KVDocumentSettings;
class KVSymbol;

// Reads and writes the project file: one compact UTF-8 JSON object {"document", "appName",
// "locations"}, where "document" holds the project's symbol data, its functions ("scripts") and
// resources, and the document-level settings.
//
// Reading is tolerant (missing or mistyped keys take their defaults) but refuses what is not a
// project of this application. Every refusal is reported through the reporter with the message the
// user sees, and questions (an incompatible format version, missing resource files) are asked the
// same way. Writing goes through a temporary file renamed over the target, so a crash or a full
// disk never leaves a truncated project.
class KVProjectFile
{
    Q_DECLARE_TR_FUNCTIONS(KVProjectFile)

public:
    // The project is read into and written from pSymbol and pSettings (not owned). pContext is the
    // document the stage model reads image fills through (may be null).
    KVProjectFile(KVSymbol *pSymbol, KVDocumentSettings *pSettings, const IKVDocumentContext *pContext = nullptr);
    ~KVProjectFile();

    // The remembered folders of the document (not owned). Without a store the folders read are
    // kept here and written back as they were.
    void setLocationStore(IKVLocationStore *pStore) { m_pLocationStore = pStore; }
    // Loads the symbol resources of the project (their symbol files) after the resource list was
    // read; false ends the open. Without a loader there is nothing to load.
    using SymbolResourceLoader = std::function<bool()>;
    void setSymbolResourceLoader(const SymbolResourceLoader &loader) { m_symbolLoader = loader; }

    // --- Reading -------------------------------------------------------------------------------
    // Reads the project file: "File doesn't exist.\n<path>" when it is missing, "Unable to read
    // project data." when it cannot be opened, "The project file format is invalid." when it is not
    // a JSON object, then as read(). pTop, when given, receives the parsed file (for callers that
    // look further into it; empty when the file does not parse).
    bool readFile(const QString &strPath, QJsonObject *pTop = nullptr);
    // The same for data in memory (without the file checks).
    bool readData(const QByteArray &data, QJsonObject *pTop = nullptr);
    // Reads a parsed project: checks the application name and the format version (asking whether
    // to open an incompatible one anyway), restores the remembered folders, then reads the
    // functions, the resources (asking whether to go on when files are missing), the symbol
    // resources, the symbol data and the document settings.
    bool read(const QJsonObject &joTop);

    // The format version of the file read: "docVersion" as an integer, 1 for the string "1.0", -1
    // when it is missing or anything else.
    int formatVersion() const { return m_nFormatVersion; }
    static int formatVersionOf(const QJsonObject &joDocument);
    // Resource files the project lists but its folder lacks, as the last read found them.
    QStringList missingFiles() const { return m_missingFiles; }
    // Resources the last read left out because their files lie outside the project folder; each is
    // reported as "<name> is outside the project folder and was not loaded.".
    QStringList outsideResources() const { return m_outsideResources; }
    static QString outsideMessage(const QString &strName);

    // --- Writing -------------------------------------------------------------------------------
    // The whole project object; false when any part could not be written (jo is then incomplete).
    bool toJson(QJsonObject &joTop) const;
    // The compact UTF-8 bytes of the project; empty when toJson() failed.
    QByteArray toData() const;
    // Writes the project file: "Cannot save project data." when the data cannot be made, "Cannot
    // write project data." when the file cannot be opened, "Error when saving document
    // information." when the data cannot be written completely. On failure the file on disk is the
    // one that was there before.
    bool writeFile(const QString &strPath) const;

    static QString appName(); // "Kavio Studio"
    static constexpr int FirstLocationType = 1000;
    static constexpr int LastLocationType = 1020;

private:
    QString location(int nType) const;
    void setLocation(int nType, const QString &strPath);

    KVSymbol *m_pSymbol;
    KVDocumentSettings *m_pSettings;
    const IKVDocumentContext *m_pContext;
    IKVLocationStore *m_pLocationStore = nullptr;
    SymbolResourceLoader m_symbolLoader;
    QMap<int, QString> m_locations;
    int m_nFormatVersion = 3;
    QStringList m_missingFiles;
    QStringList m_outsideResources;
};
