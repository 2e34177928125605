#include "app/CCommandMap.h"

#include <gtest/gtest.h>

#include <string>

// Four maps in routing order, as view, document, frame and application.
class CommandRouterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (CCommandMap& map : m_maps)
            m_router.AddTarget(&map);
    }

    CCommandMap m_maps[4];
    CCommandRouter m_router;
    std::string m_strLog;
};

TEST_F(CommandRouterTest, FirstMapThatHandlesACommandRunsIt)
{
    m_maps[1].On(1, [this] { m_strLog += "doc"; });
    m_maps[3].On(1, [this] { m_strLog += "app"; });
    m_maps[3].On(2, [this] { m_strLog += "app2"; });
    for (const int nID : {1, 2}) {
        const CCommandMap::Handler* handler = m_router.FindHandler(nID);
        ASSERT_NE(handler, nullptr);
        (*handler)();
    }
    EXPECT_EQ(m_strLog, "docapp2");
}

TEST_F(CommandRouterTest, UnhandledCommandDoesNothingAndIsDisabled)
{
    m_maps[0].OnUpdate(7, [](CCmdUI& ui) { ui.SetCheck(); }); // another command's updater
    EXPECT_EQ(m_router.FindHandler(57634), nullptr);
    const CCmdUI ui = m_router.Update(57634);
    EXPECT_FALSE(ui.m_bEnabled);
    EXPECT_FALSE(ui.m_bChecked);
}

TEST_F(CommandRouterTest, HandledCommandWithoutUpdaterIsEnabled)
{
    m_maps[2].On(5, [] {});
    const CCmdUI ui = m_router.Update(5);
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_FALSE(ui.m_bChecked);
}

TEST_F(CommandRouterTest, FirstUpdaterDecidesEvenBeforeALaterHandler)
{
    // A view that disables a command the application handles wins.
    m_maps[3].On(9, [] {});
    m_maps[0].OnUpdate(9, [](CCmdUI& ui) { ui.Enable(false); });
    m_maps[2].OnUpdate(9, [](CCmdUI& ui) { ui.SetCheck(); });
    const CCmdUI ui = m_router.Update(9);
    EXPECT_FALSE(ui.m_bEnabled);
    EXPECT_FALSE(ui.m_bChecked);
}

TEST_F(CommandRouterTest, UpdaterSetsCheckMark)
{
    m_maps[2].On(32809, [] {});
    m_maps[2].OnUpdate(32809, [](CCmdUI& ui) { ui.SetCheck(true); });
    const CCmdUI ui = m_router.Update(32809);
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_TRUE(ui.m_bChecked);
}
