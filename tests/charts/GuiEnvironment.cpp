#include "charts/painter/GuiApp.h"

#include <gtest/gtest.h>

namespace {
// Fonts need a QGuiApplication before the first test draws.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { oruk::EnsureGuiApplication(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
} // namespace
