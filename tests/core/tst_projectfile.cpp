// The project file: refusals with their messages and questions, tolerant reading of every key, the
// format-version rules, remembered folders, writing (whole or not at all), the bundled example
// and the "kavio check" verb on it.

#include "KVBannerExample.h"

#include "model/KVBreakpointSet.h"
#include "model/KVJsonReader.h"
#include "model/KVSceneList.h"
#include "document/IKVLocationStore.h"
#include "document/KVDocumentSettings.h"
#include "document/KVHeadlessProject.h"
#include "document/KVProjectFile.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

#include <sys/resource.h>

namespace {

const QString kIncompatible = QStringLiteral(
    "The project is incompatible with current application version.\n"
    "Do you want to open anyway (some information may be lost)?");
const QString kResourcesMissing = QStringLiteral("Some resource files cannot be loaded.\nDo you want to continue?");
const QString kInvalid = QStringLiteral("The project file format is invalid.");
const QString kNotValid = QStringLiteral("Not a valid Kavio Studio project.");
const QString kSceneError = QStringLiteral("Cannot open project.\nError while loading scene data.");

QByteArray projectData(const QJsonObject &joDocument, const QJsonValue &appName = QStringLiteral("Kavio Studio"))
{
    QJsonObject jo{{QStringLiteral("document"), joDocument}};
    if (!appName.isUndefined())
        jo.insert(QStringLiteral("appName"), appName);
    return QJsonDocument(jo).toJson(QJsonDocument::Compact);
}

QJsonObject sceneObject(const QString &strName)
{
    return QJsonObject{{QStringLiteral("type"), 8}, {QStringLiteral("name"), strName}};
}

QByteArray readBytes(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &strPath, const QByteArray &data)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QJsonObject documentOf(const QByteArray &data)
{
    return QJsonDocument::fromJson(data).object().value(QStringLiteral("document")).toObject();
}

QString indicatorText(const KVLoadingIndicator &li)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(li.m_nDiameter).arg(li.m_nDensity).arg(li.m_dRange).arg(li.m_nSpeed)
        .arg(qint32(li.m_clColor.rgba())).arg(li.m_nShape);
}

// What the reader made of one key of "document".
QVariant readValue(KVHeadlessProject &project, const QString &strKey)
{
    static const QHash<QString, std::function<QVariant(KVHeadlessProject &)>> getters = {
        {QStringLiteral("autoplay"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_bAutoplay); }},
        {QStringLiteral("autoKeyframeMode"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_bAutoKeyframeMode); }},
        {QStringLiteral("hasCustomLoader"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_bHasCustomLoader); }},
        {QStringLiteral("embedSytemFont"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_bEmbedSystemFont); }},
        {QStringLiteral("embedSystemFont"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_bEmbedSystemFont); }},
        {QStringLiteral("initResponsive"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_bInitResponsive); }},
        {QStringLiteral("loaderType"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_nLoaderType); }},
        {QStringLiteral("resFolderHtml5Output"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_strResFolderHtml5Output); }},
        {QStringLiteral("preResFolderHtml5Output"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_strPreResFolderHtml5Output); }},
        {QStringLiteral("viewportWMeta"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_nViewportWMeta); }},
        {QStringLiteral("viewportHMeta"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_nViewportHMeta); }},
        {QStringLiteral("containerID"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_strContainerId); }},
        {QStringLiteral("htmlOutput"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_strHtmlOutput); }},
        {QStringLiteral("cssDoc"), [](KVHeadlessProject &p) { return QVariant(p.settings().m_strCssDoc); }},
        {QStringLiteral("defaultLoadingIndicatorProps"), [](KVHeadlessProject &p) { return QVariant(indicatorText(p.settings().m_defaultLoadingIndicator)); }},
        {QStringLiteral("author"), [](KVHeadlessProject &p) { return QVariant(p.author()); }},
        {QStringLiteral("created"), [](KVHeadlessProject &p) { return QVariant(p.created()); }},
        {QStringLiteral("modified"), [](KVHeadlessProject &p) { return QVariant(p.modified()); }},
        {QStringLiteral("modifiedBy"), [](KVHeadlessProject &p) { return QVariant(p.modifiedBy()); }},
        {QStringLiteral("width"), [](KVHeadlessProject &p) { return QVariant(p.width()); }},
        {QStringLiteral("height"), [](KVHeadlessProject &p) { return QVariant(p.height()); }},
        {QStringLiteral("align"), [](KVHeadlessProject &p) { return QVariant(p.align()); }},
        {QStringLiteral("title"), [](KVHeadlessProject &p) { return QVariant(p.title()); }},
        {QStringLiteral("description"), [](KVHeadlessProject &p) { return QVariant(p.description()); }},
        {QStringLiteral("keywords"), [](KVHeadlessProject &p) { return QVariant(p.keywords()); }},
        {QStringLiteral("autofit"), [](KVHeadlessProject &p) { return QVariant(p.autofit()); }},
        {QStringLiteral("scenes"), [](KVHeadlessProject &p) { return QVariant(p.sceneList()->count()); }},
        {QStringLiteral("events"), [](KVHeadlessProject &p) { return QVariant(p.eventHandlers()->count()); }},
    };
    const auto it = getters.constFind(strKey);
    if (it == getters.cend())
        qFatal("no getter for %s", qPrintable(strKey));
    return (*it)(project);
}

// Remembered folders kept in a map; records what the reader sets.
class TestLocations : public IKVLocationStore
{
public:
    QMap<int, QString> folders;
    int nSets = 0;
    QString location(int nType) const override
    {
        return folders.value(nType, QStringLiteral("/default/%1").arg(nType));
    }
    void setLocation(int nType, const QString &strPath) override
    {
        ++nSets;
        folders.insert(nType, strPath);
    }
};

// A project whose scene named "broken" cannot be read.
class BrokenSceneProject : public KVHeadlessProject
{
public:
    using KVHeadlessProject::KVHeadlessProject;

protected:
    KVScene *readScene(const QJsonObject &joScene, const IKVDocumentContext *pContext) override
    {
        if (joScene.value(QStringLiteral("name")).toString() == QLatin1String("broken"))
            return nullptr;
        return KVHeadlessProject::readScene(joScene, pContext);
    }
};

// A project whose symbol data cannot be written.
class UnwritableProject : public KVHeadlessProject
{
public:
    using KVHeadlessProject::KVHeadlessProject;
    bool writeSymbolData(QJsonObject &) const override { return false; }
};

} // namespace

class tst_ProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void sceneThatFailsEndsTheOpen();
    void symbolResourcesThatFailEndTheOpen();

    void repeatedKeys_data();
    void repeatedKeys();
    void documentKeys_data();
    void documentKeys();
    void newProjectWritesEveryKey();
    void roundTripOfARichProject();
    void symbolDataAlone();

    void formatVersions_data();
    void formatVersions();
    void oldFormatGetsNewContainerIdEachOpen();
    void containerIdsDrawnFromTheirAlphabets();
    void containerIdValidity_data();
    void containerIdValidity();

    void locationsRead_data();
    void locationsRead();
    void locationsWritten();

    void writeFailureKeepsTheFile();
    void writeIntoMissingFolderFails();
    void writeReplacesWholeFile();
    void fullDiskKeepsTheOldFile();

    void exampleIsWhatTheWriterMakes();
    void checkCommand_data();
    void checkCommand();

private:
    QTemporaryDir m_dir;
    int m_nFile = 0;
    QString newPath() { return m_dir.filePath(QStringLiteral("p%1/project.kavio").arg(++m_nFile)); }
    QString writeProject(const QByteArray &data)
    {
        const QString strPath = newPath();
        QDir().mkpath(QFileInfo(strPath).absolutePath());
        if (!writeBytes(strPath, data))
            qFatal("cannot write %s", qPrintable(strPath));
        return strPath;
    }
};

// ---- Refusals --------------------------------------------------------------------------------------

void tst_ProjectFile::refusals_data()
{
    QTest::addColumn<QByteArray>("data"); // "<missing>" and "<folder>" stand for no file and a folder
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("bOpens");
    QTest::addColumn<QStringList>("texts"); // %1 stands for the path

    const QJsonObject v3{{QStringLiteral("docVersion"), 3}};
    const QByteArray valid = projectData(QJsonObject{{QStringLiteral("docVersion"), 3},
                                                     {QStringLiteral("scenes"), QJsonArray{sceneObject("One")}}});
    const QJsonArray missingResource{QJsonObject{{QStringLiteral("id"), 1}, {QStringLiteral("type"), 0},
                                                 {QStringLiteral("name"), QStringLiteral("gone")},
                                                 {QStringLiteral("fileName"), QStringLiteral("gone.png")}}};
    const QList<int> none;

    QTest::newRow("missing file") << QByteArray("<missing>") << none << false
                                  << QStringList{QStringLiteral("File doesn't exist.\n%1")};
    QTest::newRow("a folder") << QByteArray("<folder>") << none << false
                              << QStringList{QStringLiteral("Unable to read project data.")};
    QTest::newRow("garbage") << QByteArray("\x01\x02 PK not json at all", 22) << none << false << QStringList{kInvalid};
    QTest::newRow("empty file") << QByteArray("") << none << false << QStringList{kInvalid};
    QTest::newRow("truncated") << valid.left(valid.size() / 2) << none << false << QStringList{kInvalid};
    QTest::newRow("last brace missing") << valid.chopped(1) << none << false << QStringList{kInvalid};
    QTest::newRow("array") << QByteArray("[{\"appName\":\"Kavio Studio\"}]") << none << false << QStringList{kInvalid};
    QTest::newRow("wrong appName") << projectData(v3, QStringLiteral("Kavio")) << none << false << QStringList{kNotValid};
    QTest::newRow("appName case") << projectData(v3, QStringLiteral("kavio studio")) << none << false << QStringList{kNotValid};
    QTest::newRow("no appName") << projectData(v3, QJsonValue::Undefined) << none << false << QStringList{kNotValid};
    QTest::newRow("appName number") << projectData(v3, 1) << none << false << QStringList{kNotValid};
    QTest::newRow("wrong appName, docVersion 4: no question")
        << projectData(QJsonObject{{QStringLiteral("docVersion"), 4}}, QStringLiteral("Other")) << none << false
        << QStringList{kNotValid};

    const QList<int> cancel{IReporter::Cancel};
    const QList<int> ok{IReporter::Ok};
    for (const auto &version : {QPair<const char *, QJsonValue>{"4", 4}, {"-1", -1}, {"99", 99},
                                {"missing", QJsonValue::Undefined}, {"2.5", 2.5}, {"string 3", QStringLiteral("3")},
                                {"string 1", QStringLiteral("1")}}) {
        QJsonObject jo;
        if (!version.second.isUndefined())
            jo.insert(QStringLiteral("docVersion"), version.second);
        const QByteArray data = projectData(jo);
        QTest::newRow(qPrintable(QStringLiteral("docVersion %1, Cancel").arg(version.first)))
            << data << cancel << false << QStringList{kIncompatible};
        QTest::newRow(qPrintable(QStringLiteral("docVersion %1, Ok").arg(version.first)))
            << data << ok << true << QStringList{kIncompatible};
    }
    for (int n : {1, 2, 3})
        QTest::newRow(qPrintable(QStringLiteral("docVersion %1 asks nothing").arg(n)))
            << projectData(QJsonObject{{QStringLiteral("docVersion"), n}}) << none << true << QStringList();

    const QByteArray gone = projectData(QJsonObject{{QStringLiteral("docVersion"), 3},
                                                    {QStringLiteral("resources"), missingResource}});
    QTest::newRow("missing resource, No") << gone << QList<int>{IReporter::No} << false << QStringList{kResourcesMissing};
    QTest::newRow("missing resource, Yes") << gone << QList<int>{IReporter::Yes} << true << QStringList{kResourcesMissing};
    QTest::newRow("docVersion 4 and missing resource")
        << projectData(QJsonObject{{QStringLiteral("docVersion"), 4}, {QStringLiteral("resources"), missingResource}})
        << QList<int>{IReporter::Ok, IReporter::No} << false << QStringList{kIncompatible, kResourcesMissing};
}

void tst_ProjectFile::refusals()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<int>, answers);
    QFETCH(bool, bOpens);
    QFETCH(QStringList, texts);

    QString strPath;
    if (data == "<missing>") {
        strPath = newPath();
    } else if (data == "<folder>") {
        strPath = newPath();
        QVERIFY(QDir().mkpath(strPath));
    } else {
        strPath = writeProject(data);
    }
    const QByteArray before = readBytes(strPath);

    RecordingReporter rec;
    for (int n : answers)
        rec.answer(IReporter::Button(n));
    KVHeadlessProject project(strPath);
    QCOMPARE(project.open(), bOpens);

    QStringList expected;
    for (const QString &strText : texts)
        expected << (strText.contains(QLatin1String("%1")) ? strText.arg(strPath) : strText);
    QCOMPARE(rec.texts(), expected);
    for (const RecordingReporter::Entry &entry : rec.entries())
        QCOMPARE(entry.title, QStringLiteral("Kavio Studio"));
    QCOMPARE(rec.pendingAnswers(), 0);
    QCOMPARE(rec.unansweredQuestions(), 0);
    // Reading never touches the file.
    QCOMPARE(readBytes(strPath), before);
}

void tst_ProjectFile::sceneThatFailsEndsTheOpen()
{
    const QJsonArray scenes{sceneObject("first"), sceneObject("broken"), sceneObject("third")};
    const QString strPath = writeProject(projectData(QJsonObject{{QStringLiteral("docVersion"), 3},
                                                                 {QStringLiteral("scenes"), scenes}}));
    RecordingReporter rec;
    {
        BrokenSceneProject project(strPath);
        QVERIFY(!project.open());
        QCOMPARE(rec.texts(), QStringList{kSceneError});
        // Scenes after the broken one are not read.
        QCOMPARE(project.sceneList()->count(), 1);
    }
    rec.clear();
    KVHeadlessProject healthy(strPath);
    QVERIFY(healthy.open());
    QCOMPARE(rec.texts(), QStringList());
    QCOMPARE(healthy.sceneList()->count(), 3);
    QCOMPARE(healthy.currentScene(), healthy.sceneList()->at(0));
}

void tst_ProjectFile::symbolResourcesThatFailEndTheOpen()
{
    const QJsonArray resources{QJsonObject{{QStringLiteral("id"), 4}, {QStringLiteral("type"), 5},
                                           {QStringLiteral("name"), QStringLiteral("code")}}};
    const QString strPath = writeProject(projectData(QJsonObject{{QStringLiteral("docVersion"), 3},
                                                                 {QStringLiteral("resources"), resources},
                                                                 {QStringLiteral("scenes"), QJsonArray{sceneObject("s")}}}));
    for (bool bLoads : {false, true}) {
        RecordingReporter rec;
        KVHeadlessProject project(strPath);
        int nResourcesSeen = -1;
        project.projectFile().setSymbolResourceLoader([&]() {
            // The resources are read before the symbols, the scenes after.
            nResourcesSeen = project.resourceManager()->liveResources().size();
            return bLoads && project.sceneList()->count() == 0;
        });
        QCOMPARE(project.open(), bLoads);
        QCOMPARE(nResourcesSeen, 1);
        QCOMPARE(rec.texts(), bLoads ? QStringList()
                                     : QStringList{QStringLiteral("Cannot open project.\nError while loading symbol resources.")});
        QCOMPARE(project.sceneList()->count(), bLoads ? 1 : 0);
    }
}

// ---- Keys ------------------------------------------------------------------------------------------

void tst_ProjectFile::repeatedKeys_data()
{
    // Text as read (a repeated key keeps its last value) and what it reads as, written compact.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("no repetition") << QByteArray(R"({"a":{"b":[1,2]},"c":"x"})") << QByteArray(R"({"a":{"b":[1,2]},"c":"x"})");
    QTest::newRow("number repeated") << QByteArray(R"({"a":1,"a":2})") << QByteArray(R"({"a":2})");
    QTest::newRow("object repeated") << QByteArray(R"({"a":{"b":1},"a":{"c":2}})") << QByteArray(R"({"a":{"c":2}})");
    QTest::newRow("array repeated, deep") << QByteArray(R"({"d":{"s":[{"e":[1]},{"e":[2],"e":[3,{"x":"ü"}]}]}})")
                                          << QByteArray(R"({"d":{"s":[{"e":[1]},{"e":[3,{"x":"ü"}]}]}})");
    QTest::newRow("same key in sibling objects") << QByteArray(R"([{"a":[1]},{"a":[2]}])") << QByteArray(R"([{"a":[1]},{"a":[2]}])");
    QTest::newRow("malformed") << QByteArray(R"({"a":[1],"a":[2)") << QByteArray();
}

void tst_ProjectFile::repeatedKeys()
{
    // Qt's own parser loses the earlier value of such a key; the sanitizer run finds the leak.
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, read);
    QJsonParseError error;
    const QJsonDocument doc = KVJsonReader::parse(text, &error);
    QCOMPARE(error.error == QJsonParseError::NoError, !read.isEmpty());
    if (!read.isEmpty())
        QCOMPARE(doc.toJson(QJsonDocument::Compact), read);

    // A project whose file repeats its scenes opens with the last of them.
    QFile example(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    QByteArray baProject = example.readAll();
    const int nScenes = baProject.indexOf("\"scenes\":");
    QVERIFY(nScenes > 0);
    baProject.insert(nScenes, "\"scenes\":[{\"name\":\"gone\"}],");
    KVHeadlessProject project(m_dir.filePath(QStringLiteral("repeated.kavio")));
    QVERIFY(project.projectFile().readData(baProject));
    QCOMPARE(project.sceneList()->count(), 2);
}

void tst_ProjectFile::documentKeys_data()
{
    QTest::addColumn<QString>("strKey");
    QTest::addColumn<QJsonValue>("fileValue"); // undefined: the key is missing
    QTest::addColumn<QVariant>("expected");

    const QJsonValue missing(QJsonValue::Undefined);
    auto row = [](const char *name, const QString &key, const QJsonValue &v, const QVariant &expected) {
        QTest::newRow(name) << key << v << expected;
    };
    for (const char *key : {"autoplay", "autoKeyframeMode", "hasCustomLoader", "embedSytemFont", "initResponsive", "autofit"}) {
        const QString k = QString::fromLatin1(key);
        row(qPrintable(k + " missing"), k, missing, false);
        row(qPrintable(k + " string"), k, QStringLiteral("true"), false);
        row(qPrintable(k + " number"), k, 1, false);
        row(qPrintable(k + " true"), k, true, true);
    }
    // Only the key as it has always been spelled counts.
    row("embedSystemFont spelled right", QStringLiteral("embedSystemFont"), true, false);

    for (const char *key : {"loaderType", "viewportWMeta", "viewportHMeta", "align"}) {
        const QString k = QString::fromLatin1(key);
        row(qPrintable(k + " missing"), k, missing, 0);
        row(qPrintable(k + " string"), k, QStringLiteral("2"), 0);
        row(qPrintable(k + " null"), k, QJsonValue::Null, 0);
        row(qPrintable(k + " number"), k, -3, -3);
    }
    for (const char *key : {"resFolderHtml5Output", "preResFolderHtml5Output", "containerID", "htmlOutput",
                            "cssDoc", "author", "modifiedBy", "title", "description", "keywords"}) {
        const QString k = QString::fromLatin1(key);
        row(qPrintable(k + " missing"), k, missing, QString());
        row(qPrintable(k + " number"), k, 7, QString());
        row(qPrintable(k + " array"), k, QJsonArray{QStringLiteral("x")}, QString());
        // The container id must be an HTML id (a project with another gets a new one, with a warning).
        const QString strText = k == QLatin1String("containerID") ? QStringLiteral("kv-Stage_2") : QStringLiteral("ab \"c\" ü");
        row(qPrintable(k + " text"), k, strText, strText);
    }
    for (const char *key : {"width", "height"}) {
        const QString k = QString::fromLatin1(key);
        const int nDefault = k == QLatin1String("width") ? 800 : 600;
        row(qPrintable(k + " missing"), k, missing, nDefault);
        row(qPrintable(k + " string"), k, QStringLiteral("300"), nDefault);
        row(qPrintable(k + " number"), k, 320, 320);
    }
    const QDateTime stamp(QDate(2025, 12, 31), QTime(23, 59, 58), Qt::UTC);
    for (const char *key : {"created", "modified"}) {
        const QString k = QString::fromLatin1(key);
        row(qPrintable(k + " missing"), k, missing, QDateTime());
        row(qPrintable(k + " garbage"), k, QStringLiteral("last Tuesday"), QDateTime());
        row(qPrintable(k + " number"), k, 1700000000, QDateTime());
        row(qPrintable(k + " ISO"), k, QStringLiteral("2025-12-31T23:59:58Z"), stamp);
    }
    row("scenes missing", QStringLiteral("scenes"), missing, 0);
    row("scenes object", QStringLiteral("scenes"), QJsonObject{{QStringLiteral("a"), 1}}, 0);
    row("scenes with non-objects", QStringLiteral("scenes"),
        QJsonArray{1, QStringLiteral("x"), sceneObject("a"), QJsonValue::Null, sceneObject("b")}, 2);
    row("events null", QStringLiteral("events"), QJsonValue::Null, 0);
    row("events", QStringLiteral("events"),
        QJsonArray{QJsonObject{{QStringLiteral("event"), 21}, {QStringLiteral("action"), 2}}, 5}, 1);

    const QString li = QStringLiteral("defaultLoadingIndicatorProps");
    row("indicator missing: every key 0", li, missing, QStringLiteral("0 0 0 0 0 0"));
    row("indicator mistyped", li,
        QJsonObject{{QStringLiteral("diameter"), QStringLiteral("60")}, {QStringLiteral("density"), true},
                    {QStringLiteral("range"), QJsonArray()}, {QStringLiteral("speed"), QJsonValue::Null},
                    {QStringLiteral("color"), QStringLiteral("#2090e6")}, {QStringLiteral("shape"), QJsonObject()}},
        QStringLiteral("0 0 0 0 0 0"));
    row("indicator values", li,
        QJsonObject{{QStringLiteral("diameter"), 44}, {QStringLiteral("density"), 12}, {QStringLiteral("range"), 0.5},
                    {QStringLiteral("speed"), 3}, {QStringLiteral("color"), -14642970}, {QStringLiteral("shape"), 4}},
        QStringLiteral("44 12 0.5 3 -14642970 4"));
    row("indicator unsigned colour", li,
        QJsonObject{{QStringLiteral("color"), 4294901760.0}}, QStringLiteral("0 0 0 0 -65536 0"));
}

void tst_ProjectFile::documentKeys()
{
    QFETCH(QString, strKey);
    QFETCH(QJsonValue, fileValue);
    QFETCH(QVariant, expected);

    QJsonObject joDocument{{QStringLiteral("docVersion"), 3}};
    if (!fileValue.isUndefined())
        joDocument.insert(strKey, fileValue);
    RecordingReporter rec;
    KVHeadlessProject project(writeProject(projectData(joDocument)));
    QVERIFY(project.open());
    QCOMPARE(rec.texts(), QStringList());
    QCOMPARE(readValue(project, strKey), expected);
}

void tst_ProjectFile::newProjectWritesEveryKey()
{
    KVHeadlessProject project;
    QJsonObject joTop;
    QVERIFY(project.projectFile().toJson(joTop));
    QCOMPARE(joTop.keys(), (QStringList{QStringLiteral("appName"), QStringLiteral("document"), QStringLiteral("locations")}));
    QCOMPARE(joTop.value(QStringLiteral("appName")).toString(), QStringLiteral("Kavio Studio"));
    QCOMPARE(joTop.value(QStringLiteral("locations")).toObject().size(), 21);

    const QJsonObject jo = joTop.value(QStringLiteral("document")).toObject();
    const QStringList expectedKeys{
        "resources", "scripts", "author", "created", "modified", "modifiedBy", "width", "height", "align", "title",
        "description", "keywords", "autofit", "scenes", "events", "layoutBreakpoints", "defaultLoadingIndicatorProps",
        "autoplay", "autoKeyframeMode", "docVersion", "hasCustomLoader", "loaderType", "embedSytemFont",
        "resFolderHtml5Output", "preResFolderHtml5Output", "viewportWMeta", "viewportHMeta", "containerID",
        "htmlOutput", "cssDoc", "initResponsive"};
    QStringList sortedExpected = expectedKeys;
    sortedExpected.sort();
    QCOMPARE(jo.keys(), sortedExpected);

    QCOMPARE(jo.value("docVersion").toInt(), 3);
    QCOMPARE(jo.value("autoplay").toBool(false), true);
    QCOMPARE(jo.value("autoKeyframeMode").toBool(true), false);
    QCOMPARE(jo.value("embedSytemFont").toBool(true), false);
    QCOMPARE(jo.value("loaderType").toInt(-1), 0);
    QCOMPARE(jo.value("resFolderHtml5Output").toString(), QStringLiteral("resources"));
    QCOMPARE(jo.value("preResFolderHtml5Output").toString(), QStringLiteral("preloader_resources"));
    QCOMPARE(jo.value("viewportWMeta").toInt(), -2);
    QCOMPARE(jo.value("viewportHMeta").toInt(), -3);
    QVERIFY(KVDocumentSettings::isValidContainerId(jo.value("containerID").toString()));
    QCOMPARE(jo.value("width").toInt(), 800);
    QCOMPARE(jo.value("height").toInt(), 600);
    QCOMPARE(jo.value("align").toInt(), 4);
    QCOMPARE(jo.value("events").toArray(), QJsonArray());
    const QJsonObject li = jo.value("defaultLoadingIndicatorProps").toObject();
    QCOMPARE(li.keys(), (QStringList{"color", "density", "diameter", "range", "shape", "speed"}));
    QCOMPARE(li.value("color").toInt(), -14642970);
    QCOMPARE(li.value("diameter").toInt(), 60);
    QCOMPARE(li.value("density").toInt(), 9);
    QCOMPARE(li.value("range").toDouble(), 1.0);
    QCOMPARE(li.value("speed").toInt(), 1);
    QCOMPARE(li.value("shape").toInt(-1), 0);

    // Compact UTF-8: one line, no indentation.
    project.setTitle(QStringLiteral("Grüße"));
    const QByteArray data = project.projectFile().toData();
    QVERIFY(!data.contains('\n'));
    QVERIFY(!data.contains(": "));
    QVERIFY(data.contains(QStringLiteral("Grüße").toUtf8()));
}

void tst_ProjectFile::roundTripOfARichProject()
{
    const QString strPath = newPath();
    QDir().mkpath(QFileInfo(strPath).absolutePath() + QStringLiteral("/project_res"));
    QVERIFY(KVBannerExample::logoImage().save(QFileInfo(strPath).absolutePath() + QStringLiteral("/project_res/logo.png")));

    RecordingReporter rec;
    KVHeadlessProject original(strPath);
    KVBannerExample::build(original);
    original.settings().m_bAutoplay = false;
    original.settings().m_nLoaderType = 2;
    original.settings().m_bHasCustomLoader = true;
    original.settings().m_nViewportWMeta = 1024;
    original.settings().m_strCssDoc = QStringLiteral("body { margin: 0 }");
    original.settings().m_bInitResponsive = true;
    original.settings().m_defaultLoadingIndicator.m_nShape = 3;
    original.settings().m_defaultLoadingIndicator.m_clColor = QColor(10, 20, 30, 255);
    original.breakpoints()->addHBreakpoint(480);
    // As the editor does when it adds a breakpoint, the elements get the new layout.
    original.fillLayouts();
    QVERIFY(original.save());
    const QByteArray saved = readBytes(strPath);

    KVHeadlessProject reread(strPath);
    QVERIFY(reread.open());
    QCOMPARE(rec.texts(), QStringList());
    QCOMPARE(reread.problems(), QStringList());
    QCOMPARE(reread.summary(), original.summary());
    QCOMPARE(reread.summary(), QStringLiteral("scenes=2 elements=9 timelines=2 animations=8 resources=1 functions=1"));
    QVERIFY(reread.settings() == original.settings());
    QCOMPARE(reread.created(), original.created());
    QCOMPARE(reread.modified(), original.modified());
    QCOMPARE(reread.title(), original.title());
    QCOMPARE(reread.width(), 300);
    QCOMPARE(reread.sceneList()->at(1)->name(), QStringLiteral("Call to action"));
    QCOMPARE(reread.sceneList()->at(1)->transitionDuration(), 500);
    QCOMPARE(reread.currentScene(), reread.sceneList()->at(0));
    QCOMPARE(reread.eventHandlers()->count(), 1);
    QCOMPARE(reread.breakpoints()->hBreakpoints().size(), 1);
    QCOMPARE(reread.sceneList()->at(0)->mainTimeline()->labels().value(QStringLiteral("offer")), 1200);
    QCOMPARE(reread.sceneList()->at(0)->mainTimeline()->triggers().size(), 1);
    QCOMPARE(reread.formatVersion(), 3);

    // Writing what was read gives the same file.
    QCOMPARE(reread.projectFile().toData(), saved);
}

void tst_ProjectFile::symbolDataAlone()
{
    const QString strPath = newPath();
    QDir().mkpath(QFileInfo(strPath).absolutePath() + QStringLiteral("/project_res"));
    RecordingReporter rec;
    KVHeadlessProject project(strPath);
    KVBannerExample::build(project);

    // A symbol file holds the symbol data only: no resources, functions or document settings.
    QJsonObject jo;
    QVERIFY(project.writeSymbolData(jo));
    QStringList keys{"author", "created", "modified", "modifiedBy", "width", "height", "align", "title",
                     "description", "keywords", "autofit", "scenes", "events", "layoutBreakpoints"};
    keys.sort();
    QCOMPARE(jo.keys(), keys);

    KVSymbol symbol;
    // What the symbol held before is replaced.
    symbol.sceneList()->addScene(symbol.sceneList()->createScene());
    symbol.eventHandlers()->insert(new KVEventListener(KVEventCatalogue::DocumentCreate, KVActionCatalogue::PlayTimeline));
    symbol.setAlign(9);
    // Image fills find their images through the project the symbol belongs to.
    QVERIFY(symbol.readSymbolData(jo, &project));
    QCOMPARE(symbol.sceneList()->count(), 2);
    QCOMPARE(symbol.elementCount(), 9);
    QCOMPARE(symbol.animationCount(), 8);
    QCOMPARE(symbol.eventHandlers()->count(), 1);
    QCOMPARE(symbol.align(), 4);
    QCOMPARE(symbol.created(), project.created());
    QCOMPARE(symbol.currentScene(), symbol.sceneList()->at(0));
    QCOMPARE(symbol.functions()->count(), 0);
    QCOMPARE(symbol.resourceManager()->resources().size(), 0);

    QJsonObject joAgain;
    QVERIFY(symbol.writeSymbolData(joAgain));
    QCOMPARE(joAgain, jo);

    // Clearing leaves a symbol as new, without scenes.
    symbol.clearSymbolData();
    QCOMPARE(symbol.sceneList()->count(), 0);
    QCOMPARE(symbol.currentScene(), nullptr);
    QCOMPARE(symbol.width(), 800);
    QCOMPARE(symbol.align(), 4);
    QCOMPARE(rec.texts(), QStringList());
}

// ---- Format versions -------------------------------------------------------------------------------

void tst_ProjectFile::formatVersions_data()
{
    QTest::addColumn<QJsonValue>("docVersion");
    QTest::addColumn<int>("nVersion");
    QTest::addColumn<bool>("bReset");

    QTest::newRow("string 1.0") << QJsonValue(QStringLiteral("1.0")) << 1 << true;
    QTest::newRow("1") << QJsonValue(1) << 1 << true;
    QTest::newRow("0") << QJsonValue(0) << 0 << true;
    QTest::newRow("2") << QJsonValue(2) << 2 << false;
    QTest::newRow("3") << QJsonValue(3) << 3 << false;
    QTest::newRow("3.0 as a number") << QJsonValue(3.0) << 3 << false;
}

void tst_ProjectFile::formatVersions()
{
    QFETCH(QJsonValue, docVersion);
    QFETCH(int, nVersion);
    QFETCH(bool, bReset);

    const QJsonObject joDocument{
        {QStringLiteral("docVersion"), docVersion}, {QStringLiteral("autoplay"), true},
        {QStringLiteral("loaderType"), 1}, {QStringLiteral("resFolderHtml5Output"), QStringLiteral("mine")},
        {QStringLiteral("preResFolderHtml5Output"), QStringLiteral("pre")}, {QStringLiteral("viewportWMeta"), 5},
        {QStringLiteral("viewportHMeta"), 6}, {QStringLiteral("containerID"), QStringLiteral("abcdefgh")},
        {QStringLiteral("htmlOutput"), QStringLiteral("<p>")}, {QStringLiteral("cssDoc"), QStringLiteral("p{}")}};
    QCOMPARE(KVProjectFile::formatVersionOf(joDocument), nVersion);

    RecordingReporter rec;
    KVHeadlessProject project(writeProject(projectData(joDocument)));
    QVERIFY(project.open());
    QCOMPARE(rec.texts(), QStringList());
    QCOMPARE(project.projectFile().formatVersion(), nVersion);
    QCOMPARE(project.formatVersion(), nVersion);

    const KVDocumentSettings &s = project.settings();
    // Read whatever the version.
    QCOMPARE(s.m_bAutoplay, true);
    QCOMPARE(s.m_nLoaderType, 1);
    if (bReset) {
        QCOMPARE(s.m_strResFolderHtml5Output, QStringLiteral("resources"));
        QCOMPARE(s.m_strPreResFolderHtml5Output, QStringLiteral("preloader_resources"));
        QCOMPARE(s.m_nViewportWMeta, -3);
        QCOMPARE(s.m_nViewportHMeta, -3);
        QVERIFY(s.m_strContainerId != QLatin1String("abcdefgh"));
        QVERIFY(KVDocumentSettings::isValidContainerId(s.m_strContainerId));
        QCOMPARE(s.m_strHtmlOutput, QString());
        QCOMPARE(s.m_strCssDoc, QString());
    } else {
        QCOMPARE(s.m_strResFolderHtml5Output, QStringLiteral("mine"));
        QCOMPARE(s.m_strPreResFolderHtml5Output, QStringLiteral("pre"));
        QCOMPARE(s.m_nViewportWMeta, 5);
        QCOMPARE(s.m_nViewportHMeta, 6);
        QCOMPARE(s.m_strContainerId, QStringLiteral("abcdefgh"));
        QCOMPARE(s.m_strHtmlOutput, QStringLiteral("<p>"));
        QCOMPARE(s.m_strCssDoc, QStringLiteral("p{}"));
    }
    // Whatever was read, the file written is of the current format.
    QCOMPARE(documentOf(project.projectFile().toData()).value(QStringLiteral("docVersion")).toInt(), 3);
}

void tst_ProjectFile::oldFormatGetsNewContainerIdEachOpen()
{
    const QString strPath = writeProject(projectData(QJsonObject{{QStringLiteral("docVersion"), QStringLiteral("1.0")}}));
    RecordingReporter rec;
    QSet<QString> ids;
    for (int n = 0; n < 5; ++n) {
        KVHeadlessProject project(strPath);
        QVERIFY(project.open());
        ids.insert(project.settings().m_strContainerId);
    }
    QCOMPARE(ids.size(), 5);
    // Once saved in the current format the id stays.
    KVHeadlessProject project(strPath);
    QVERIFY(project.open());
    QVERIFY(project.save());
    const QString strKept = project.settings().m_strContainerId;
    for (int n = 0; n < 2; ++n) {
        KVHeadlessProject again(strPath);
        QVERIFY(again.open());
        QCOMPARE(again.settings().m_strContainerId, strKept);
        QCOMPARE(again.formatVersion(), 3);
    }
}

void tst_ProjectFile::containerIdsDrawnFromTheirAlphabets()
{
    const QString first = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOP");
    const QString all = first + QStringLiteral("QRSTUVWXYZ");
    QSet<QChar> firstSeen;
    QSet<QChar> restSeen;
    QSet<QString> ids;
    for (int n = 0; n < 4000; ++n) {
        const QString strId = KVDocumentSettings::newContainerId();
        QCOMPARE(strId.size(), 8);
        QVERIFY2(first.contains(strId.at(0)), qPrintable(strId));
        firstSeen.insert(strId.at(0));
        for (int i = 1; i < 8; ++i) {
            QVERIFY2(all.contains(strId.at(i)), qPrintable(strId));
            restSeen.insert(strId.at(i));
        }
        QVERIFY(KVDocumentSettings::isValidContainerId(strId));
        ids.insert(strId);
    }
    // Every letter of each alphabet turns up, so neither is cut short.
    QCOMPARE(firstSeen.size(), 42);
    QCOMPARE(restSeen.size(), 52);
    QCOMPARE(ids.size(), 4000);
}

void tst_ProjectFile::containerIdValidity_data()
{
    QTest::addColumn<QString>("strId");
    QTest::addColumn<bool>("bValid");
    QTest::newRow("lower") << "abcdefgh" << true;
    QTest::newRow("P first") << "Pbcdefgh" << true;
    QTest::newRow("Z later") << "aZZZZZZZ" << true;
    QTest::newRow("Q first") << "Qbcdefgh" << false;
    QTest::newRow("Z first") << "Zbcdefgh" << false;
    QTest::newRow("seven") << "abcdefg" << false;
    QTest::newRow("nine") << "abcdefghi" << false;
    QTest::newRow("digit") << "abc1efgh" << false;
    QTest::newRow("underscore") << "abc_efgh" << false;
    QTest::newRow("accent") << QStringLiteral("abcdéfgh") << false;
    QTest::newRow("empty") << "" << false;
}

void tst_ProjectFile::containerIdValidity()
{
    QFETCH(QString, strId);
    QFETCH(bool, bValid);
    QCOMPARE(KVDocumentSettings::isValidContainerId(strId), bValid);
}

// ---- Remembered folders ----------------------------------------------------------------------------

void tst_ProjectFile::locationsRead_data()
{
    QTest::addColumn<QJsonValue>("locations");
    QTest::addColumn<int>("nSets");

    QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined) << 0;
    QTest::newRow("empty object") << QJsonValue(QJsonObject()) << 0;
    QTest::newRow("not an object") << QJsonValue(QStringLiteral("/tmp")) << 0;
    QTest::newRow("some keys") << QJsonValue(QJsonObject{{QStringLiteral("1000"), QStringLiteral("/work/a")},
                                                         {QStringLiteral("1020"), QStringLiteral("/work/z")},
                                                         {QStringLiteral("1021"), QStringLiteral("/work/out")},
                                                         {QStringLiteral("1005"), 17}})
                               << 21;
}

void tst_ProjectFile::locationsRead()
{
    QFETCH(QJsonValue, locations);
    QFETCH(int, nSets);

    QJsonObject jo{{QStringLiteral("appName"), QStringLiteral("Kavio Studio")},
                   {QStringLiteral("document"), QJsonObject{{QStringLiteral("docVersion"), 3}}}};
    if (!locations.isUndefined())
        jo.insert(QStringLiteral("locations"), locations);

    TestLocations store;
    store.folders.insert(1003, QStringLiteral("/before"));
    RecordingReporter rec;
    KVHeadlessProject project(writeProject(QJsonDocument(jo).toJson()));
    project.projectFile().setLocationStore(&store);
    QVERIFY(project.open());
    QCOMPARE(store.nSets, nSets);
    if (nSets == 0) {
        QCOMPARE(store.folders.size(), 1);
        QCOMPARE(store.folders.value(1003), QStringLiteral("/before"));
    } else {
        QCOMPARE(store.folders.size(), 21);
        QCOMPARE(store.folders.value(1000), QStringLiteral("/work/a"));
        QCOMPARE(store.folders.value(1020), QStringLiteral("/work/z"));
        // A missing or mistyped key forgets the folder; types outside the range are not read.
        QCOMPARE(store.folders.value(1003, QStringLiteral("?")), QString());
        QCOMPARE(store.folders.value(1005, QStringLiteral("?")), QString());
        QVERIFY(!store.folders.contains(1021));
    }
}

void tst_ProjectFile::locationsWritten()
{
    TestLocations store;
    store.folders.insert(1007, QStringLiteral("/pictures"));
    KVHeadlessProject project;
    project.projectFile().setLocationStore(&store);
    QJsonObject joTop;
    QVERIFY(project.projectFile().toJson(joTop));
    const QJsonObject jo = joTop.value(QStringLiteral("locations")).toObject();
    QCOMPARE(jo.size(), 21);
    for (int nType = 1000; nType <= 1020; ++nType) {
        const QString expected = nType == 1007 ? QStringLiteral("/pictures") : QStringLiteral("/default/%1").arg(nType);
        QCOMPARE(jo.value(QString::number(nType)).toString(), expected);
    }

    // Without a store the folders read are written back.
    const QJsonObject joRead{{QStringLiteral("1001"), QStringLiteral("/a")}, {QStringLiteral("1019"), QStringLiteral("/b")}};
    const QString strPath = writeProject(QJsonDocument(QJsonObject{
        {QStringLiteral("appName"), QStringLiteral("Kavio Studio")},
        {QStringLiteral("document"), QJsonObject{{QStringLiteral("docVersion"), 3}}},
        {QStringLiteral("locations"), joRead}}).toJson());
    KVHeadlessProject reread(strPath);
    QVERIFY(reread.open());
    QJsonObject joAgain;
    QVERIFY(reread.projectFile().toJson(joAgain));
    const QJsonObject joLocations = joAgain.value(QStringLiteral("locations")).toObject();
    QCOMPARE(joLocations.size(), 21);
    QCOMPARE(joLocations.value(QStringLiteral("1001")).toString(), QStringLiteral("/a"));
    QCOMPARE(joLocations.value(QStringLiteral("1019")).toString(), QStringLiteral("/b"));
    QCOMPARE(joLocations.value(QStringLiteral("1000")).toString(QStringLiteral("?")), QString());
}

// ---- Writing ---------------------------------------------------------------------------------------

void tst_ProjectFile::writeFailureKeepsTheFile()
{
    const QByteArray before = projectData(QJsonObject{{QStringLiteral("docVersion"), 3}});
    const QString strPath = writeProject(before);
    RecordingReporter rec;
    UnwritableProject project(strPath);
    QVERIFY(project.open());
    QJsonObject jo;
    QVERIFY(!project.projectFile().toJson(jo));
    QCOMPARE(project.projectFile().toData(), QByteArray());
    QVERIFY(!project.save());
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Cannot save project data.")});
    QCOMPARE(readBytes(strPath), before);
    QCOMPARE(QDir(QFileInfo(strPath).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("project.kavio")});
}

void tst_ProjectFile::writeIntoMissingFolderFails()
{
    RecordingReporter rec;
    KVHeadlessProject project;
    const QString strPath = m_dir.filePath(QStringLiteral("no/such/folder/x.kavio"));
    QVERIFY(!project.save(strPath));
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Cannot write project data.")});
    QVERIFY(!QFileInfo::exists(strPath));
}

void tst_ProjectFile::writeReplacesWholeFile()
{
    // A long file replaced by a short one leaves no tail of the old one.
    QByteArray longData = projectData(QJsonObject{{QStringLiteral("docVersion"), 3},
                                                  {QStringLiteral("cssDoc"), QString(20000, QLatin1Char('x'))}});
    const QString strPath = writeProject(longData);
    RecordingReporter rec;
    KVHeadlessProject project(strPath);
    QVERIFY(project.open());
    project.settings().m_strCssDoc.clear();
    QVERIFY(project.save());
    const QByteArray after = readBytes(strPath);
    QVERIFY(after.size() < 2000);
    QCOMPARE(after, project.projectFile().toData());
    QVERIFY(QJsonDocument::fromJson(after).isObject());
    QCOMPARE(rec.texts(), QStringList());
}

void tst_ProjectFile::fullDiskKeepsTheOldFile()
{
    // A file size limit stands in for a disk that fills up during the write: writes past it fail.
    const QByteArray before = projectData(QJsonObject{{QStringLiteral("docVersion"), 3}});
    const QString strPath = writeProject(before);
    RecordingReporter rec;
    KVHeadlessProject project(strPath);
    QVERIFY(project.open());
    project.settings().m_strCssDoc = QString(64 * 1024, QLatin1Char('y'));

    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    const sighandler_t previous = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool bSaved = project.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QVERIFY(!bSaved);
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Error when saving document information.")});
    QCOMPARE(readBytes(strPath), before);
    // No partial file is left beside it.
    QCOMPARE(QDir(QFileInfo(strPath).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("project.kavio")});

    // With room again the same save goes through.
    QVERIFY(project.save());
    QCOMPARE(readBytes(strPath), project.projectFile().toData());
}

// ---- The example and the check verb ----------------------------------------------------------------

void tst_ProjectFile::exampleIsWhatTheWriterMakes()
{
    const QString strExample = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner");
    const QString strCommittedLogo = strExample + QStringLiteral("/banner_res/logo.png");
    const bool bUpdate = qEnvironmentVariableIsSet("KAVIO_UPDATE_EXAMPLES");

    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("banner_res"))));
    const QString strLogo = dir.filePath(QStringLiteral("banner_res/logo.png"));
    if (bUpdate)
        QVERIFY(KVBannerExample::logoImage().save(strLogo));
    else
        QVERIFY(QFile::copy(strCommittedLogo, strLogo));

    RecordingReporter rec;
    KVHeadlessProject project(dir.filePath(QStringLiteral("banner.kavio")));
    KVBannerExample::build(project);
    QVERIFY(project.save());
    QCOMPARE(rec.texts(), QStringList());
    const QByteArray made = readBytes(project.fileName());

    if (bUpdate) {
        QVERIFY(QDir().mkpath(strExample + QStringLiteral("/banner_res")));
        QFile::remove(strCommittedLogo);
        QVERIFY(QFile::copy(strLogo, strCommittedLogo));
        QVERIFY(writeBytes(strExample + QStringLiteral("/banner.kavio"), made));
    }
    QCOMPARE(KVBannerExample::logoImage(), QImage(strCommittedLogo).convertToFormat(QImage::Format_ARGB32));
    // Set KAVIO_UPDATE_EXAMPLES=1 to write the example again after a change of the model's form.
    QCOMPARE(made, readBytes(strExample + QStringLiteral("/banner.kavio")));
}

void tst_ProjectFile::checkCommand_data()
{
    QTest::addColumn<QByteArray>("data"); // empty: the bundled example; "<missing>": no file
    QTest::addColumn<int>("nExit");
    QTest::addColumn<QStringList>("stdoutLines");
    QTest::addColumn<QString>("stderrText");

    QTest::newRow("example") << QByteArray() << 0
                             << QStringList{QStringLiteral("scenes=2 elements=9 timelines=2 animations=8 resources=1 functions=1")}
                             << QString();

    // A symbol instance without its symbol resource cannot be read (an image would take the image).
    const QJsonObject image{{QStringLiteral("type"), 7}, {QStringLiteral("id"), 3}, {QStringLiteral("name"), QStringLiteral("badge")}};
    const QJsonObject div{{QStringLiteral("type"), 5}, {QStringLiteral("id"), 4}, {QStringLiteral("name"), QStringLiteral("box %2")},
                          {QStringLiteral("events"), QJsonArray{QJsonObject{{QStringLiteral("event"), 100}, {QStringLiteral("action"), 777}}}}};
    QJsonObject scene = sceneObject("Main");
    // An element without an id is kept (it gets one) and is no problem.
    const QJsonObject noId{{QStringLiteral("type"), 4}, {QStringLiteral("name"), QStringLiteral("caption")}};
    scene.insert(QStringLiteral("children"), QJsonArray{image, noId, div});
    const QJsonObject joDocument{
        {QStringLiteral("docVersion"), 3},
        {QStringLiteral("resources"), QJsonArray{QJsonObject{{QStringLiteral("id"), 1}, {QStringLiteral("type"), 0},
                                                             {QStringLiteral("name"), QStringLiteral("gone")},
                                                             {QStringLiteral("fileName"), QStringLiteral("gone.png")}}}},
        {QStringLiteral("events"), QJsonArray{QJsonObject{{QStringLiteral("event"), 999}, {QStringLiteral("action"), 2}}}},
        {QStringLiteral("scenes"), QJsonArray{scene}}};
    QTest::newRow("problems") << projectData(joDocument) << 0
                              << QStringList{QStringLiteral("scenes=1 elements=2 timelines=1 animations=0 resources=1 functions=0"),
                                             QStringLiteral("missing resource file: gone.png"),
                                             QStringLiteral("document: unknown event code 999 kept"),
                                             QStringLiteral("scene \"Main\", element \"box %2\": unknown action code 777 kept"),
                                             QStringLiteral("scene \"Main\": element \"badge\" of type 7 (Symbol) cannot be read and was left out")}
                              << kResourcesMissing;
    QTest::newRow("garbage") << QByteArray("not a project") << 1 << QStringList() << kInvalid;
    QTest::newRow("missing") << QByteArray("<missing>") << 1 << QStringList() << QStringLiteral("File doesn't exist.");
    QTest::newRow("wrong appName") << projectData(QJsonObject{{QStringLiteral("docVersion"), 3}}, QStringLiteral("Other")) << 1
                                   << QStringList() << kNotValid;
    QTest::newRow("docVersion 4 opens anyway")
        << projectData(QJsonObject{{QStringLiteral("docVersion"), 4}}) << 0
        << QStringList{QStringLiteral("scenes=0 elements=0 timelines=0 animations=0 resources=0 functions=0")} << kIncompatible;
}

void tst_ProjectFile::checkCommand()
{
    QFETCH(QByteArray, data);
    QFETCH(int, nExit);
    QFETCH(QStringList, stdoutLines);
    QFETCH(QString, stderrText);

    const QString strKavio = KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio");
    if (!QFileInfo(strKavio).isExecutable())
        QFAIL(qPrintable(QStringLiteral("%1 is not built").arg(strKavio)));

    QString strProject;
    if (data.isEmpty())
        strProject = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio");
    else if (data == "<missing>")
        strProject = newPath();
    else
        strProject = writeProject(data);

    QProcess process;
    process.start(strKavio, {QStringLiteral("check"), strProject});
    QVERIFY(process.waitForFinished(60000));
    const QString strOut = QString::fromUtf8(process.readAllStandardOutput());
    const QString strErr = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), nExit);
    QCOMPARE(strOut.split(QLatin1Char('\n'), Qt::SkipEmptyParts), stdoutLines);
    if (stderrText.isEmpty())
        QCOMPARE(strErr, QString());
    else
        QVERIFY2(strErr.contains(QString(stderrText).replace(QLatin1Char('\n'), QLatin1Char(' '))), qPrintable(strErr));
}

KAVIO_TEST_MAIN(tst_ProjectFile)
#include "tst_projectfile.moc"
