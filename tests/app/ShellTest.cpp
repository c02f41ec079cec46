#include "app/MenuModel.h"
#include "app/Requests.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(MenuModel, IdleOffersToResumeEveryOtherStateToPause) {
    const MenuModel idle = MenuModel::forState(VelmorState::idle());
    EXPECT_EQ(idle.statusLine, QString::fromUtf8("Velmor — Paused"));
    EXPECT_EQ(idle.toggleLabel, "Resume Velmor");
    EXPECT_EQ(idle.toggleNotification, "velmorStartSession");
    EXPECT_EQ(idle.iconName, "leaf");

    const QDateTime due(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC);
    // A fading-out overlay is already scheduled again: the session reads as active.
    for (const VelmorState& state :
         {VelmorState::scheduled(due), VelmorState::velmoring("x"), VelmorState::snoozed(due),
          VelmorState::transitioning(), VelmorState::dismissing()}) {
        const MenuModel active = MenuModel::forState(state);
        EXPECT_EQ(active.statusLine, QString::fromUtf8("Velmor — Active"));
        EXPECT_EQ(active.toggleLabel, "Pause Velmor");
        EXPECT_EQ(active.toggleNotification, "velmorStopSession");
        EXPECT_EQ(active.iconName, "leaf-fill");
    }
}

TEST(LaunchRequest, ArgumentsMapToRequestsAndTheirNotifications) {
    EXPECT_EQ(requestFromArguments({}), LaunchRequest::reopen);
    EXPECT_EQ(requestFromArguments({"--now"}), LaunchRequest::now);
    EXPECT_EQ(requestFromArguments({"--pause"}), LaunchRequest::pause);
    EXPECT_EQ(requestFromArguments({"--resume"}), LaunchRequest::resume);
    for (const QStringList& bad : {QStringList{"--reopen"}, QStringList{"now"},
                                   QStringList{"--now", "--pause"}, QStringList{"--Now"}})
        EXPECT_EQ(requestFromArguments(bad), std::nullopt) << bad.join(' ').toStdString();
    EXPECT_EQ(notificationFor(LaunchRequest::now), "velmorNow");
    EXPECT_EQ(notificationFor(LaunchRequest::pause), "velmorStopSession");
    EXPECT_EQ(notificationFor(LaunchRequest::resume), "velmorStartSession");
    EXPECT_TRUE(notificationFor(LaunchRequest::reopen).isEmpty());
    // What one launch sends, the running one reads back.
    for (LaunchRequest r :
         {LaunchRequest::reopen, LaunchRequest::now, LaunchRequest::pause, LaunchRequest::resume})
        EXPECT_EQ(requestFromText(requestText(r)), r);
}
