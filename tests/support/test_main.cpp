// One main for every test executable: GoogleTest inside a QApplication, so
// tests may create widgets, timers and queued calls on the main thread.
//
// VIZO_TEST_LATE_LIBRARIES=1 lists the shared libraries loaded while the
// tests ran: a library loaded late (a Qt plugin, say) brings thread-local
// storage the leak checker may misread at exit.
#include <QApplication>
#include <gtest/gtest.h>

#include <link.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::set<std::string> loadedLibraries()
{
    std::set<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *out) {
            if (info->dlpi_name && *info->dlpi_name)
                static_cast<std::set<std::string> *>(out)->insert(info->dlpi_name);
            return 0;
        },
        &names);
    return names;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const bool reportLate = qEnvironmentVariableIntValue("VIZO_TEST_LATE_LIBRARIES") == 1;
    const std::set<std::string> before = reportLate ? loadedLibraries() : std::set<std::string>();
    const int result = RUN_ALL_TESTS();
    if (reportLate)
        for (const std::string &name : loadedLibraries())
            if (!before.count(name))
                std::fprintf(stderr, "loaded during the tests: %s\n", name.c_str());
    return result;
}
