#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/qt/modal_dialogs.h"

namespace {

class ModalDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    // A main window destroyed by an earlier test has posted its quit, which would end
    // the next loop to run: the dialogs'. A loop of the test's own takes it.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }

  // Runs `step` once the innermost dialog is on screen, unless `context` has gone.
  static void WhenShown(const QObject& context, std::function<void()> step) {
    QTimer::singleShot(0, &context, std::move(step));
  }
};

TEST_F(ModalDialogs, AnOwnerGoingWhileItsDialogIsOpenEndsTheDialogAsCancelled) {
  auto owner = std::make_unique<QWidget>();
  owner->show();
  QDialog dialog;
  WhenShown(dialog, [&] { owner.reset(); });
  EXPECT_EQ(platform::RunModal(dialog, owner.get()), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(platform::ModalDialogRunning());
}

TEST_F(ModalDialogs, EndingRejectsNestedDialogsAndActsOnlyOnceAllHaveReturned) {
  QDialog outer;
  QDialog inner;
  QDialog late;
  std::vector<QString> events;
  int innerResult = -1;
  WhenShown(outer, [&] {
    WhenShown(inner, [&] {
      ASSERT_TRUE(platform::ModalDialogRunning());
      platform::EndModalDialogsThen([&] { events.push_back("then"); });
      // Opened after the end was asked for, this one never shows.
      events.push_back(platform::RunModal(late) == QDialog::Rejected ? "late cancelled"
                                                                     : "late accepted");
    });
    innerResult = platform::RunModal(inner);
    events.push_back("inner returned");
  });
  EXPECT_EQ(platform::RunModal(outer), QDialog::Rejected);
  events.push_back("outer returned");
  EXPECT_EQ(innerResult, QDialog::Rejected);
  QApplication::processEvents();
  EXPECT_EQ(events,
            (std::vector<QString>{"late cancelled", "inner returned", "outer returned", "then"}));
  // Ending is over: the next dialog runs as usual.
  WhenShown(late, [&] { QMetaObject::invokeMethod(&late, "accept"); });
  EXPECT_EQ(platform::RunModal(late), QDialog::Accepted);
}

TEST_F(ModalDialogs, EndingWithNoDialogOpenActsOnTheNextTurn) {
  bool acted = false;
  platform::EndModalDialogsThen([&] { acted = true; });
  EXPECT_FALSE(acted);
  QApplication::processEvents();
  EXPECT_TRUE(acted);
}

}  // namespace
