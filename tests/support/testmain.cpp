#include "testmain.h"

#ifdef ZELCOR_GUI_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QTest>
#include <cstdio>

namespace zelcor::test {

std::vector<std::pair<const char*, TestFactory>>& registry() {
    static std::vector<std::pair<const char*, TestFactory>> tests;
    return tests;
}

} // namespace zelcor::test

int main(int argc, char** argv) {
    TestApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("zelcor-tests"));
    const QByteArray only = qgetenv("ZELCOR_TEST_ONLY");
    int failed = 0;
    for (auto& [name, make] : zelcor::test::registry()) {
        if (!only.isEmpty() && only != name) continue;
        auto test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    std::printf("%s\n", failed ? "SOME TESTS FAILED" : "ALL TESTS PASSED");
    return failed ? 1 : 0;
}
