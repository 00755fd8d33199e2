// libFuzzer harness of the project reader: any bytes given as a project file must be refused with a
// message or read into a project; a project read must write out, and what is written must read
// back. With KAVIO_FUZZ_STABLE set, writing what was read back must also give the same bytes again
// (this finds model values that do not survive a round trip). Questions are answered "open anyway"
// and "continue" so that the reader goes as deep as it can.

#include "FuzzReporter.h"
#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "document/KVProjectFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QCoreApplication *g_pApp = nullptr;
QTemporaryDir *g_pDir = nullptr;
FuzzReporter g_reporter;
QString g_strProject;
bool g_bStable = false;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *pArgc, char ***pArgv)
{
    g_pApp = new QCoreApplication(*pArgc, *pArgv);
    g_pDir = new QTemporaryDir;
    g_strProject = g_pDir->filePath(QStringLiteral("fuzz.kavio"));
    QDir().mkpath(g_pDir->filePath(QStringLiteral("fuzz_res")));
    Reporter::setInstance(&g_reporter);
    g_bStable = qEnvironmentVariableIsSet("KAVIO_FUZZ_STABLE");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize)
{
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(pData), int(nSize));

    QByteArray written;
    {
        KVHeadlessProject project(g_strProject);
        if (!project.projectFile().readData(data))
            return 0;
        (void)project.summary();
        written = project.projectFile().toData();
        if (written.isEmpty()) {
            std::fprintf(stderr, "a project that was read could not be written\n");
            std::abort();
        }
    }

    KVHeadlessProject again(g_strProject);
    if (!again.projectFile().readData(written)) {
        std::fprintf(stderr, "a project written could not be read again\n");
        std::abort();
    }
    if (g_bStable && again.projectFile().toData() != written) {
        std::fprintf(stderr, "writing a project read back changed it:\n%s\n%s\n", written.constData(),
                     again.projectFile().toData().constData());
        std::abort();
    }
    return 0;
}
