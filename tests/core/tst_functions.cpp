#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "interaction/KVFunctionExporter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {
QJsonObject obj(const char *psz)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(psz));
    if (!doc.isObject())
        qFatal("bad object literal in test: %s", psz);
    return doc.object();
}

KVFunction *named(const QString &strName, int nType = KVFunction::General)
{
    KVFunction *pFunction = KVFunction::create(nType);
    pFunction->setName(strName);
    return pFunction;
}

QStringList namesOf(const KVFunctionContainer &container)
{
    QStringList names;
    for (const KVFunction *pFunction : container.functions())
        names << pFunction->name();
    return names;
}

// Runs a script with node and returns its standard output; fails the test when node cannot run it.
bool runNode(const QString &strScript, QByteArray &output, QString &strError)
{
    const QString strNode = qEnvironmentVariable("KAVIO_NODE", QStringLiteral("/usr/bin/node"));
    QProcess process;
    process.start(strNode, {QStringLiteral("-")});
    if (!process.waitForStarted(30000)) {
        strError = QStringLiteral("cannot start %1: %2").arg(strNode, process.errorString());
        return false;
    }
    process.write(strScript.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        strError = QStringLiteral("node did not finish");
        return false;
    }
    output = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        strError = QString::fromUtf8(process.readAllStandardError());
        return false;
    }
    return true;
}
} // namespace

class TestFunctions : public QObject
{
    Q_OBJECT

private slots:
    void newFunctionOfType_data();
    void newFunctionOfType();
    void functionText();
    void cloneCopiesEverything();

    void idsComeFromCounter();
    void insertPositions_data();
    void insertPositions();
    void removeAndUndoKeepId();
    void uniqueNames_data();
    void uniqueNames();
    void findFunctions();

    void invalidNamesRefused_data();
    void invalidNamesRefused();
    void nameProblems_data();
    void nameProblems();

    void projectRoundTrip();
    void projectReadIsTolerant();
    void projectReadRenamesUnusableNames();

    void functionsTableText();
    void functionsTableRunsInNode();

    void exportText();
    void exportToFile_data();
    void exportToFile();
    void exportFailure_data();
    void exportFailure();
};

void TestFunctions::newFunctionOfType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("params");
    const QStringList handler{"doc", "e"};
    QTest::newRow("general") << 0 << "untitledFunction" << QStringList();
    QTest::newRow("document") << 1 << "documentEventHandler" << handler;
    QTest::newRow("timeline") << 2 << "timelineEventHandler" << handler;
    QTest::newRow("scene") << 3 << "sceneEventHandler" << handler;
    QTest::newRow("element") << 4 << "elementEventHandler" << handler;
    QTest::newRow("preloader") << 5 << "preloaderEventHandler" << handler;
    QTest::newRow("unknown") << 9 << "untitledFunction" << QStringList();
}

void TestFunctions::newFunctionOfType()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QStringList, params);
    QScopedPointer<KVFunction> pFunction(KVFunction::create(type));
    QCOMPARE(pFunction->name(), name);
    QCOMPARE(pFunction->params(), params);
    QCOMPARE(pFunction->type(), type);
    QCOMPARE(pFunction->id(), -1);
    QVERIFY(pFunction->content().isEmpty());
    QVERIFY(!pFunction->uuid().isNull());
    QScopedPointer<KVFunction> pOther(KVFunction::create(type));
    QVERIFY(pOther->uuid() != pFunction->uuid());
}

void TestFunctions::functionText()
{
    QScopedPointer<KVFunction> pHandler(KVFunction::create(KVFunction::DocumentHandler));
    pHandler->setContent("doc.play();");
    QCOMPARE(pHandler->text(), QStringLiteral("function documentEventHandler(doc, e) {\ndoc.play();\n}"));
    QCOMPARE(pHandler->text(false), QStringLiteral("function(doc, e) {\ndoc.play();\n}"));

    QScopedPointer<KVFunction> pGeneral(KVFunction::create(KVFunction::General));
    QCOMPARE(pGeneral->text(), QStringLiteral("function untitledFunction() {\n\n}"));
    pGeneral->setParams({"a", "b", "c"});
    pGeneral->setContent("var x = a;\n  return x + b + c;");
    QCOMPARE(pGeneral->text(), QStringLiteral("function untitledFunction(a, b, c) {\nvar x = a;\n  return x + b + c;\n}"));
}

void TestFunctions::cloneCopiesEverything()
{
    QScopedPointer<KVFunction> pFunction(KVFunction::create(KVFunction::SceneHandler));
    pFunction->setId(17);
    pFunction->setContent("return 1;");
    QScopedPointer<KVFunction> pClone(pFunction->clone());
    QCOMPARE(pClone->toJson(), pFunction->toJson());
    QCOMPARE(pClone->uuid(), pFunction->uuid());
    QCOMPARE(pClone->id(), 17);
}

void TestFunctions::idsComeFromCounter()
{
    KVFunctionContainer container;
    QCOMPARE(container.currentId(), 0);
    KVFunction *pFirst = KVFunction::create(KVFunction::General);
    container.insert(pFirst);
    QCOMPARE(pFirst->id(), 1);
    QCOMPARE(container.remove(pFirst), 0);
    delete pFirst;
    KVFunction *pSecond = KVFunction::create(KVFunction::General);
    container.insert(pSecond);
    QCOMPARE(pSecond->id(), 2);
    QCOMPARE(container.currentId(), 2);
    // A name freed by the removal is free again.
    QCOMPARE(pSecond->name(), QStringLiteral("untitledFunction"));

    // A function that already has an id keeps it; the counter is raised past it.
    KVFunction *pKept = named("kept");
    pKept->setId(10);
    container.insert(pKept);
    QCOMPARE(pKept->id(), 10);
    KVFunction *pNext = named("next");
    container.insert(pNext);
    QCOMPARE(pNext->id(), 11);
}

void TestFunctions::insertPositions_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expectedIndex");
    QTest::newRow("front") << 0 << 0;
    QTest::newRow("middle") << 1 << 1;
    QTest::newRow("last") << 2 << 2;
    QTest::newRow("count appends") << 3 << 3;
    QTest::newRow("negative appends") << -1 << 3;
    QTest::newRow("far appends") << 50 << 3;
}

void TestFunctions::insertPositions()
{
    QFETCH(int, index);
    QFETCH(int, expectedIndex);
    KVFunctionContainer container;
    container.insert(named("a"));
    container.insert(named("b"));
    container.insert(named("c"));
    KVFunction *pNew = named("d");
    QCOMPARE(container.insert(pNew, index), expectedIndex);
    QCOMPARE(container.indexOf(pNew), expectedIndex);
    QCOMPARE(pNew->id(), 4);
    QCOMPARE(container.count(), 4);
    // Null and a function already held are refused.
    QCOMPARE(container.insert(pNew, 0), -1);
    QCOMPARE(container.insert(nullptr, 0), -1);
    QCOMPARE(container.count(), 4);
}

void TestFunctions::removeAndUndoKeepId()
{
    KVFunctionContainer container;
    container.insert(named("a"));
    KVFunction *pB = named("b");
    container.insert(pB);
    container.insert(named("c"));
    QCOMPARE(container.remove(pB), 1);
    QCOMPARE(container.remove(pB), -1);
    QCOMPARE(namesOf(container), (QStringList{"a", "c"}));
    QCOMPARE(container.findById(2), nullptr);
    // Undo puts it back where it was, with the same id, and the counter does not move.
    QCOMPARE(container.insert(pB, 1), 1);
    QCOMPARE(pB->id(), 2);
    QCOMPARE(container.currentId(), 3);
    QCOMPARE(namesOf(container), (QStringList{"a", "b", "c"}));
}

void TestFunctions::uniqueNames_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free") << QStringList{"g"} << "f" << "f";
    QTest::newRow("one clash") << QStringList{"f"} << "f" << "f_0";
    QTest::newRow("f and f_0") << QStringList{"f_0", "f"} << "f" << "f_0_1";
    QTest::newRow("three clashes") << QStringList{"f", "f_0", "f_0_1"} << "f" << "f_0_1_2";
    QTest::newRow("only f_0") << QStringList{"f_0"} << "f" << "f";
    QTest::newRow("f_1 does not count") << QStringList{"f", "f_1"} << "f" << "f_0";
    QTest::newRow("case matters") << QStringList{"F"} << "f" << "f";
}

void TestFunctions::uniqueNames()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    // "f" itself is a name of the generated script; a prefix keeps the rule visible.
    const auto prefixed = [](const QString &s) { return QStringLiteral("fn") + s; };
    KVFunctionContainer container;
    for (const QString &strName : existing)
        container.insert(named(prefixed(strName)));
    QCOMPARE(namesOf(container).size(), existing.size());
    KVFunction *pNew = named(prefixed(name));
    QVERIFY(container.insert(pNew) >= 0);
    QCOMPARE(pNew->name(), prefixed(expected));
    // A function is no clash with itself.
    QCOMPARE(container.uniqueName(pNew->name(), pNew), pNew->name());
}

void TestFunctions::findFunctions()
{
    KVFunctionContainer container;
    KVFunction *pA = named("alpha");
    KVFunction *pB = named("beta");
    container.insert(pA);
    container.insert(pB);
    QCOMPARE(container.findById(1), pA);
    QCOMPARE(container.findById(2), pB);
    QCOMPARE(container.findById(3), nullptr);
    QCOMPARE(container.findById(-1), nullptr);
    QCOMPARE(container.findByUuid(pB->uuid()), pB);
    QCOMPARE(container.findByUuid(QUuid::createUuid()), nullptr);
    QCOMPARE(container.findByName("alpha"), pA);
    QCOMPARE(container.findByName("gamma"), nullptr);
}

void TestFunctions::invalidNamesRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "onClick" << true;
    QTest::newRow("underscore") << "_private" << true;
    QTest::newRow("dollar") << "$" << true;
    QTest::newRow("digits after") << "step2" << true;
    QTest::newRow("not a keyword") << "classic" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("space") << "my function" << false;
    QTest::newRow("leading digit") << "2step" << false;
    QTest::newRow("dash") << "on-click" << false;
    QTest::newRow("non-ascii") << QString::fromUtf8("größe") << false;
    QTest::newRow("keyword") << "class" << false;
    QTest::newRow("keyword function") << "function" << false;
    QTest::newRow("table name") << "f" << false;
    QTest::newRow("data name") << "docData" << false;
    QTest::newRow("player name") << "Kavio" << false;
}

void TestFunctions::invalidNamesRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(KVFunction::isValidName(name), valid);

    RecordingReporter rec;
    KVFunctionContainer container;
    container.insert(named("existing"));
    KVFunction *pFunction = named(name);
    const int nIndex = container.insert(pFunction);
    if (valid) {
        QCOMPARE(nIndex, 1);
        QVERIFY(rec.entries().isEmpty());
        return;
    }
    // Refused: nothing changes, the caller keeps the function, and the message names it.
    QCOMPARE(nIndex, -1);
    QCOMPARE(container.count(), 1);
    QCOMPARE(container.currentId(), 1);
    QCOMPARE(pFunction->id(), -1);
    QCOMPARE(rec.entries().size(), 1);
    QCOMPARE(rec.entries().first().severity, IReporter::Critical);
    QCOMPARE(rec.lastText(), KVFunction::invalidNameMessage(name));
    QVERIFY(rec.lastText().contains(QLatin1Char('"') + name + QLatin1Char('"')));
    delete pFunction;

    // The name a read file falls back to is always usable.
    QVERIFY(KVFunction::isValidName(KVFunction::validNameFrom(name)));
}

void TestFunctions::nameProblems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("fine") << "gamma" << "";
    QTest::newRow("own name") << "beta" << "";
    QTest::newRow("empty") << "" << "Function name is empty!";
    QTest::newRow("invalid") << "a b" << "Function name is invalid!";
    QTest::newRow("duplicated") << "alpha" << "Function name is duplicated!";
}

void TestFunctions::nameProblems()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    KVFunctionContainer container;
    container.insert(named("alpha"));
    KVFunction *pBeta = named("beta");
    container.insert(pBeta);
    QCOMPARE(container.nameProblem(name, pBeta), problem);
}

void TestFunctions::projectRoundTrip()
{
    KVFunctionContainer container;
    KVFunction *pHandler = KVFunction::create(KVFunction::ElementHandler);
    pHandler->setContent("e.target.style.color = \"red\";\n// ünïcödé");
    container.insert(pHandler);
    KVFunction *pGeneral = KVFunction::create(KVFunction::General);
    pGeneral->setParams({"x"});
    container.insert(pGeneral);

    const QJsonObject jo = container.toJson();
    QCOMPARE(jo.value("current_id").toInt(), 2);
    const QJsonObject first = jo.value("functions").toArray().at(0).toObject();
    QCOMPARE(first.keys(), (QStringList{"content", "id", "name", "params", "type", "uuid"}));
    QCOMPARE(first.value("uuid").toString(), pHandler->uuid().toString());
    QVERIFY(first.value("uuid").toString().startsWith(QLatin1Char('{')));
    QCOMPARE(first.value("params").toArray(), (QJsonArray{"doc", "e"}));
    QCOMPARE(first.value("type").toInt(), 4);

    KVFunctionContainer read;
    read.fromJson(jo);
    QCOMPARE(read.toJson(), jo);
    QCOMPARE(read.findByUuid(pHandler->uuid())->id(), 1);
}

void TestFunctions::projectReadIsTolerant()
{
    RecordingReporter rec;
    KVFunctionContainer container;
    container.insert(named("dropped"));
    container.fromJson(obj(R"({"current_id": 7, "functions": [
        {"id": 3, "uuid": "{0b7e9d0a-3f58-4f0a-9a53-7a4a3c8f1e21}", "name": "same", "content": "a", "type": 2, "params": ["doc", 5, "e"]},
        {"name": "same", "uuid": "not a uuid"},
        "not an object",
        {"id": 5, "name": "later", "params": "x"}]})"));
    QVERIFY(rec.entries().isEmpty());
    // Stored names and ids are kept as they are, duplicates included.
    QCOMPARE(namesOf(container), (QStringList{"same", "same", "later"}));
    QCOMPARE(container.currentId(), 7);
    const KVFunction *pFirst = container.functions().at(0);
    QCOMPARE(pFirst->id(), 3);
    QCOMPARE(pFirst->uuid(), QUuid("{0b7e9d0a-3f58-4f0a-9a53-7a4a3c8f1e21}"));
    QCOMPARE(pFirst->type(), 2);
    QCOMPARE(pFirst->params(), (QStringList{"doc", "e"}));
    const KVFunction *pSecond = container.functions().at(1);
    QCOMPARE(pSecond->id(), -1);
    QCOMPARE(pSecond->type(), 0);
    QVERIFY(!pSecond->uuid().isNull());
    QVERIFY(pSecond->params().isEmpty());
    QCOMPARE(container.functions().at(2)->params(), QStringList());

    // The next new function continues from the stored counter.
    KVFunction *pNew = KVFunction::create(KVFunction::General);
    container.insert(pNew);
    QCOMPARE(pNew->id(), 8);

    // A counter below a stored id is raised so that no id is given twice.
    KVFunctionContainer low;
    low.fromJson(obj(R"({"current_id": 1, "functions": [{"id": 4, "name": "a"}]})"));
    QCOMPARE(low.currentId(), 4);
    KVFunctionContainer empty;
    empty.fromJson(QJsonObject());
    QCOMPARE(empty.count(), 0);
    QCOMPARE(empty.currentId(), 0);
}

void TestFunctions::projectReadRenamesUnusableNames()
{
    RecordingReporter rec;
    KVFunctionContainer container;
    container.fromJson(obj(R"({"current_id": 3, "functions": [
        {"id": 1, "name": "my handler", "content": "return 1;"},
        {"id": 2, "name": "my_handler", "content": "return 2;"},
        {"id": 3, "name": "class", "content": "return 3;"}]})"));
    QCOMPARE(namesOf(container), (QStringList{"my_handler", "my_handler", "class_"}));
    // Nothing of the code is lost; each rename is told.
    QCOMPARE(container.findById(1)->content(), QStringLiteral("return 1;"));
    QCOMPARE(rec.texts(), (QStringList{
        "The function \"my handler\" has a name that JavaScript cannot use; it was renamed to \"my_handler\".",
        "The function \"class\" has a name that JavaScript cannot use; it was renamed to \"class_\"."}));
}

void TestFunctions::functionsTableText()
{
    KVFunctionContainer container;
    QCOMPARE(container.functionsTable(), QStringLiteral("var f = [];"));
    KVFunction *pHandler = KVFunction::create(KVFunction::DocumentHandler);
    pHandler->setContent("doc.play();");
    container.insert(pHandler);
    KVFunction *pGeneral = named("sum");
    pGeneral->setParams({"a", "b"});
    pGeneral->setContent("return a + b;");
    container.insert(pGeneral);
    QCOMPARE(container.functionsTable(),
             QStringLiteral("var f = [];\n"
                            "var documentEventHandler = function documentEventHandler(doc, e) {\ndoc.play();\n};\n"
                            "f.push([1, \"documentEventHandler\", documentEventHandler]);\n"
                            "var sum = function sum(a, b) {\nreturn a + b;\n};\n"
                            "f.push([2, \"sum\", sum]);"));
}

void TestFunctions::functionsTableRunsInNode()
{
    RecordingReporter rec;
    KVFunctionContainer container;
    KVFunction *pDocument = KVFunction::create(KVFunction::DocumentHandler);
    pDocument->setContent("return 'doc:' + doc.name + ':' + e.type;");
    container.insert(pDocument);
    KVFunction *pElement = KVFunction::create(KVFunction::ElementHandler);
    pElement->setContent("// a comment line\nvar s = \"quoted \\\"text\\\"\";\nreturn s + '/' + e.target;");
    container.insert(pElement);
    KVFunction *pSecondElement = KVFunction::create(KVFunction::ElementHandler); // elementEventHandler_0
    pSecondElement->setContent("return arguments.length;");
    container.insert(pSecondElement);
    KVFunction *pRemoved = named("removedLater");
    container.insert(pRemoved);
    container.remove(pRemoved);
    delete pRemoved;
    KVFunction *pGeneral = KVFunction::create(KVFunction::General);
    pGeneral->setContent("return typeof doc;");
    container.insert(pGeneral);
    // A name read from a file that JavaScript could not declare is made usable.
    KVFunctionContainer read;
    read.fromJson(obj(R"({"current_id": 9, "functions": [{"id": 9, "name": "new", "content": "return 'renamed';", "params": ["doc", "e"]}]})"));
    container.insert(read.functions().first()->clone());

    // The table is placed inside the data script's function, like the player data file does.
    const QString strScript = QStringLiteral(
        "(function() {\n%1\n"
        "var theDoc = {name: 'banner'};\n"
        "var out = f.map(function(entry) {\n"
        "  return [entry[0], entry[1], typeof entry[2], entry[2](theDoc, {type: 'click', target: 'btn'})];\n"
        "});\n"
        "console.log(JSON.stringify(out));\n"
        "})();\n").arg(container.functionsTable());
    QByteArray output;
    QString strError;
    QVERIFY2(runNode(strScript, output, strError), qPrintable(strError + QStringLiteral("\n") + strScript));
    const QJsonArray result = QJsonDocument::fromJson(output).array();
    const QJsonArray expected = QJsonDocument::fromJson(R"([
        [1, "documentEventHandler", "function", "doc:banner:click"],
        [2, "elementEventHandler", "function", "quoted \"text\"/btn"],
        [3, "elementEventHandler_0", "function", 2],
        [5, "untitledFunction", "function", "undefined"],
        [9, "new_", "function", "renamed"]])").array();
    QCOMPARE(QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact)),
             QString::fromUtf8(QJsonDocument(expected).toJson(QJsonDocument::Compact)));

    // What the name rule keeps out: one function named so breaks the whole table.
    KVFunction broken;
    broken.setName("my handler");
    const QString strBroken = container.functionsTable() + QStringLiteral("\nvar ") + broken.name()
                              + QStringLiteral(" = ") + broken.text() + QStringLiteral(";\n");
    QVERIFY(!runNode(strBroken, output, strError));
    QVERIFY2(strError.contains(QLatin1String("SyntaxError")), qPrintable(strError));
}

void TestFunctions::exportText()
{
    QScopedPointer<KVFunction> pA(named("a"));
    pA->setContent("return 1;");
    QScopedPointer<KVFunction> pB(KVFunction::create(KVFunction::SceneHandler));
    QCOMPARE(KVFunctionExporter::exportText({pA.data(), pB.data()}),
             QStringLiteral("function a() {\nreturn 1;\n}\nfunction sceneEventHandler(doc, e) {\n\n}"));
    QCOMPARE(KVFunctionExporter::exportText({}), QString());
    QCOMPARE(KVFunctionExporter::proposedFileName(*pA), QStringLiteral("a.js"));
    QCOMPARE(KVFunctionExporter::dialogTitle(), QStringLiteral("Export Function"));
    QCOMPARE(KVFunctionExporter::fileFilter(), QStringLiteral("(*.js)"));
}

void TestFunctions::exportToFile_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("several, close") << int(KVFunctionExporter::Several) << "Close" << "Exporting functions completed!";
    QTest::newRow("several, open folder") << int(KVFunctionExporter::Several) << "Open Folder" << "Exporting functions completed!";
    QTest::newRow("single, open folder") << int(KVFunctionExporter::Single) << "Open Folder" << "Function was exported successfully.";
    QTest::newRow("single, close") << int(KVFunctionExporter::Single) << "Close" << "Function was exported successfully.";
}

void TestFunctions::exportToFile()
{
    QFETCH(int, mode);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strPath = dir.filePath("exported.js");
    QFile old(strPath);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("previous content that is longer than the new one, and must vanish");
    old.close();

    QScopedPointer<KVFunction> pFunction(named(QString::fromUtf8("greet")));
    pFunction->setContent(QString::fromUtf8("return 'grüße';"));
    RecordingReporter rec;
    rec.answerNamed(button);
    QStringList opened;
    QVERIFY(KVFunctionExporter::exportToFile(strPath, {pFunction.data()}, KVFunctionExporter::Mode(mode),
                                             [&](const QString &strFolder) { opened << strFolder; }));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QString::fromUtf8("function greet() {\nreturn 'grüße';\n}"));

    QCOMPARE(rec.entries().size(), 1);
    QCOMPARE(rec.entries().first().kind, RecordingReporter::Entry::Choice);
    QCOMPARE(rec.entries().first().title, QStringLiteral("Export Function"));
    QCOMPARE(rec.lastText(), message);
    QCOMPARE(rec.unansweredQuestions(), 0);
    if (button == QLatin1String("Open Folder"))
        QCOMPARE(opened, QStringList{QFileInfo(strPath).absolutePath()});
    else
        QVERIFY(opened.isEmpty());
}

void TestFunctions::exportFailure_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("several") << int(KVFunctionExporter::Several);
    QTest::newRow("single") << int(KVFunctionExporter::Single);
}

void TestFunctions::exportFailure()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strPath = dir.filePath("missing/folder/out.js");
    const QString strMessage = QStringLiteral("Could not write to file [%1].").arg(strPath);
    QScopedPointer<KVFunction> pFunction(named("a"));
    RecordingReporter rec;
    bool bOpened = false;
    if (mode == KVFunctionExporter::Several)
        QTest::ignoreMessage(QtWarningMsg, qPrintable(strMessage));
    QVERIFY(!KVFunctionExporter::exportToFile(strPath, {pFunction.data()}, KVFunctionExporter::Mode(mode),
                                              [&](const QString &) { bOpened = true; }));
    QVERIFY(!bOpened);
    QVERIFY(!QFile::exists(strPath));
    if (mode == KVFunctionExporter::Several) {
        QVERIFY(rec.entries().isEmpty()); // the panel only logs it
    } else {
        QCOMPARE(rec.entries().size(), 1);
        QCOMPARE(rec.entries().first().kind, RecordingReporter::Entry::Report);
        QCOMPARE(rec.lastText(), strMessage);
    }
}

KAVIO_TEST_MAIN(TestFunctions)
#include "tst_functions.moc"
