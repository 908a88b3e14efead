#include "shell/startsurfer.h"

#include "core/error.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

using namespace trelvik;

namespace {
struct StartSurferTest : ::testing::Test {
    void TearDown() override { surfer::shutdownAll(); }
};
} // namespace

TEST_F(StartSurferTest, VersionEightStartsANewVisibleInstanceWithOnePlot) {
    AppState st;
    st.mnuSurf6Checked = false;
    st.mnuSurf8Checked = true;
    auto first = surfer::connect("Surfer.Application");
    long pid = StartSurfer(st);
    EXPECT_EQ(st.SurferVersion, "SurferV8");
    auto app = surfer::findInstance(pid);
    ASSERT_TRUE(app);
    EXPECT_NE(app.get(), first.get());  // never attaches to the running one
    EXPECT_TRUE(app->Visible);
    EXPECT_EQ(app->Documents.Count(), 1);
}

TEST_F(StartSurferTest, VersionSixStaysHiddenAndEmptyAndNoTickIsAnError) {
    AppState st;
    st.mnuSurf6Checked = true;
    st.mnuSurf8Checked = false;
    auto app = surfer::findInstance(StartSurfer(st));
    ASSERT_TRUE(app);
    EXPECT_EQ(app->version(), 6);
    EXPECT_FALSE(app->Visible);
    EXPECT_EQ(app->Documents.Count(), 0);

    st.mnuSurf6Checked = false;
    EXPECT_THROW(StartSurfer(st), Error);
}
