#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

// Sockets and processes want an application object; the logic needs no more than Qt Core's.
class CoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "lw_test_online";
        static char* argv[] = {name, nullptr};
        m_app = new QCoreApplication(argc, argv);
    }
    void TearDown() override { delete m_app; }

private:
    QCoreApplication* m_app = nullptr;
};

[[maybe_unused]] auto* const g_env = ::testing::AddGlobalTestEnvironment(new CoreEnvironment);

} // namespace
