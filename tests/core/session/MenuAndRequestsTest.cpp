#include "core/model/WaitReason.h"
#include "core/session/MenuModel.h"
#include "core/session/Requests.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace velmor;

TEST(MenuModel, IdleOffersToResumeEveryOtherStateToPause) {
    const MenuModel idle = MenuModel::forState(VelmorState::idle());
    EXPECT_EQ(idle.statusLine, QString::fromUtf8("Velmor — Paused"));
    EXPECT_EQ(idle.toggleLabel, "Resume Velmor");
    EXPECT_EQ(idle.toggleCommand, Command::startSession);
    EXPECT_EQ(idle.iconName, "leaf");

    const QDateTime due(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC);
    // A fading-out overlay is already scheduled again: the session reads as active.
    for (const VelmorState& state :
         {VelmorState::scheduled(due), VelmorState::velmoring("x"), VelmorState::snoozed(due),
          VelmorState::transitioning(), VelmorState::dismissing()}) {
        const MenuModel active = MenuModel::forState(state);
        EXPECT_EQ(active.statusLine, QString::fromUtf8("Velmor — Active"));
        EXPECT_EQ(active.toggleLabel, "Pause Velmor");
        EXPECT_EQ(active.toggleCommand, Command::stopSession);
        EXPECT_EQ(active.iconName, "leaf-fill");
    }
}

TEST(LaunchRequest, CommandLineGivesOneRequestAndLetsQtOptionsThrough) {
    using Action = CommandLine::Action;
    const auto read = [](QStringList arguments) {
        arguments.prepend(QStringLiteral("velmor"));
        return readCommandLine(arguments);
    };
    EXPECT_EQ(read({}).request, LaunchRequest::reopen);
    for (LaunchRequest r : {LaunchRequest::now, LaunchRequest::pause, LaunchRequest::resume,
                            LaunchRequest::quit, LaunchRequest::background}) {
        const CommandLine line = read({"--" + requestText(r)});
        EXPECT_EQ(line.action, Action::run);
        EXPECT_EQ(line.request, r);
        // What one launch sends, the running one reads back.
        EXPECT_EQ(requestFromText(requestText(r)), r);
    }
    // Qt's own options, with their values, are left for QApplication.
    const CommandLine withQt = read({"-platform", "xcb", "--now", "-style=fusion", "-reverse"});
    EXPECT_EQ(withQt.action, Action::run);
    EXPECT_EQ(withQt.request, LaunchRequest::now);

    for (const char* asked : {"-h", "--help"}) {
        const CommandLine help = read({asked, "--now"});
        EXPECT_EQ(help.action, Action::help);
        EXPECT_TRUE(help.text.contains("--background")) << help.text.toStdString();
        EXPECT_FALSE(help.text.contains("platformtheme")) << "Qt's options stay out of the help";
    }
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    EXPECT_EQ(read({"-v"}).text, "Velmor 1.2.3\n");
    EXPECT_EQ(read({"--version"}).action, Action::version);

    for (const QStringList& bad :
         {QStringList{"--reopen"}, QStringList{"now"}, QStringList{"--now", "--pause"},
          QStringList{"--Now"}, QStringList{"-platform"}, QStringList{"-hv"}}) {
        const CommandLine line = read(bad);
        EXPECT_EQ(line.action, Action::refuse) << bad.join(' ').toStdString();
        EXPECT_FALSE(line.text.isEmpty());
    }
    EXPECT_EQ(commandFor(LaunchRequest::now), Command::showNow);
    EXPECT_EQ(commandFor(LaunchRequest::pause), Command::stopSession);
    EXPECT_EQ(commandFor(LaunchRequest::resume), Command::startSession);
    for (LaunchRequest r : {LaunchRequest::reopen, LaunchRequest::quit, LaunchRequest::background})
        EXPECT_EQ(commandFor(r), std::nullopt);
    // A re-open carries the launch's activation token; anything unprintable is refused.
    const auto line = parseRequestLine(lineText({LaunchRequest::reopen, "kwin-7_TIME42"}));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->activationToken, "kwin-7_TIME42");
    EXPECT_EQ(parseRequestLine("reopen a	b"), std::nullopt);
    EXPECT_EQ(parseRequestLine("reopen a b"), std::nullopt);
}

TEST(LaunchRequest, LinesSplitAcrossWritesAndCappedInLength) {
    RequestLines lines;
    EXPECT_EQ(lines.take("pause\nres"), QList<QByteArray>{"pause"});
    EXPECT_EQ(lines.take("ume\r\n\nnow\n"), (QList<QByteArray>{"resume", "", "now"}));
    const QByteArray longest(RequestLines::maxLength, 'x');
    EXPECT_EQ(lines.take(longest.left(100)), QList<QByteArray>{});
    EXPECT_EQ(lines.take(longest.mid(100) + '\n'), QList<QByteArray>{longest});
    EXPECT_FALSE(lines.overflowed());
    // One byte more, even spread over many writes, and the reader stops taking anything.
    for (int i = 0; i < RequestLines::maxLength; ++i)
        lines.take("y");
    EXPECT_EQ(lines.take("y\nnow\n"), QList<QByteArray>{});
    EXPECT_TRUE(lines.overflowed());
    EXPECT_EQ(answerTo("now"), "ok");
    EXPECT_EQ(answerTo("Now"), "error: unknown request");
}

TEST(WaitingText, SaysWhyAndTheMeetingsEndInTheUsersOwnTime) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QDateTime end(QDate(2026, 12, 7), QTime(14, 30)); // local time
    EXPECT_EQ(waitingText({WaitReason::Kind::meeting, end.toUTC()}),
              "Waiting: meeting until 14:30");
    EXPECT_EQ(waitingText({WaitReason::Kind::microphone, {}}), "Waiting: microphone in use");
    EXPECT_EQ(waitingText({WaitReason::Kind::screenShared, {}}), "Waiting: screen shared");
    QLocale::setDefault(before);
}
