#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <future>
#include <thread>

#include "qt_app.h"
#include "ui/qt_messages.h"

namespace {

QMessageBox* findTopBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  return nullptr;
}

// Processes events until a box is up, or gives up after a few seconds.
QMessageBox* waitForBox() {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (QMessageBox* box = findTopBox()) return box;
  }
  return nullptr;
}

TEST(QtMessages, BoxCarriesTextCaptionButtonsIconAndDefault) {
  testApp();
  ui::Message m{"Delete?", "Veltrane", ui::Buttons::YesNo, ui::Icon::Question, ui::Answer::No};
  auto box = ui::QtMessages::makeBox(m, nullptr);
  EXPECT_EQ(box->text(), "Delete?");
  EXPECT_EQ(box->windowTitle(), "Veltrane");
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
}

TEST(QtMessages, EmptyCaptionTakesTheApplicationName) {
  testApp();
  auto box = ui::QtMessages::makeBox(ui::Message{"x", ""}, nullptr);
  EXPECT_EQ(box->windowTitle(), QCoreApplication::applicationName());
}

TEST(QtMessages, ClosedWithoutAButtonAnswersSafely) {
  ui::Message yesNo{"q", "c", ui::Buttons::YesNo, ui::Icon::None, ui::Answer::No};
  ui::Message okCancel{"q", "c", ui::Buttons::OkCancel, ui::Icon::None, ui::Answer::Ok};
  EXPECT_EQ(ui::QtMessages::answerOf(-1, yesNo), ui::Answer::No);
  EXPECT_EQ(ui::QtMessages::answerOf(-1, okCancel), ui::Answer::Cancel);
  EXPECT_EQ(ui::QtMessages::answerOf(QMessageBox::Yes, yesNo), ui::Answer::Yes);
}

TEST(QtMessages, OnTheGuiThreadTheBoxIsModalAndReturnsTheClickedButton) {
  testApp();
  ui::QtMessages messages;
  QTimer::singleShot(0, [] {
    QMessageBox* box = findTopBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isModal());
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(messages.show({"Sure?", "c", ui::Buttons::YesNo, ui::Icon::None, ui::Answer::No}),
            ui::Answer::Yes);
}

TEST(QtMessages, FromAWorkerTheBoxStandsOverTheWindowNonModalAndOnlyTheWorkerWaits) {
  testApp();
  QWidget owner;
  ui::QtMessages messages;
  messages.setOwner(&owner);
  auto answer = std::async(std::launch::async, [&] {
    return messages.show({"Worker asks", "c", ui::Buttons::OkCancel, ui::Icon::Warning,
                          ui::Answer::Ok});
  });
  QMessageBox* box = waitForBox();
  ASSERT_NE(box, nullptr);
  // Over the window (centred on it, never off at a screen corner) but not
  // modal.
  EXPECT_EQ(box->parentWidget(), &owner);
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(box->text(), "Worker asks");
  // The GUI thread is free while the worker waits.
  EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  box->button(QMessageBox::Cancel)->click();
  QApplication::processEvents();
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(answer.get(), ui::Answer::Cancel);
}

TEST(QtMessages, ReleasingAnswersWaitingWorkersWithTheirDefaultAndLaterOnesAtOnce) {
  testApp();
  ui::QtMessages messages;
  auto first = std::async(std::launch::async, [&] {
    return messages.show({"first", "c", ui::Buttons::YesNo, ui::Icon::None, ui::Answer::No});
  });
  ASSERT_NE(waitForBox(), nullptr);
  messages.releaseWaiting();
  ASSERT_EQ(first.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(first.get(), ui::Answer::No);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(findTopBox(), nullptr);

  auto later = std::async(std::launch::async, [&] {
    return messages.show({"later", "c", ui::Buttons::YesNo, ui::Icon::None, ui::Answer::Yes});
  });
  ASSERT_EQ(later.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(later.get(), ui::Answer::Yes);
}

// A stopped browse's box goes with it; the next browse's boxes still show.
TEST(QtMessages, AnsweringWaitingBoxesClosesThemAndLaterOnesStillShow) {
  testApp();
  ui::QtMessages messages;
  auto first = std::async(std::launch::async, [&] {
    return messages.show({"list is full", "c", ui::Buttons::Ok, ui::Icon::None, ui::Answer::Ok});
  });
  ASSERT_NE(waitForBox(), nullptr);
  messages.answerWaiting();
  ASSERT_EQ(first.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(findTopBox(), nullptr);

  auto later = std::async(std::launch::async, [&] {
    return messages.show({"later", "c", ui::Buttons::YesNo, ui::Icon::None, ui::Answer::No});
  });
  QMessageBox* box = waitForBox();
  ASSERT_NE(box, nullptr) << "a later box is shown, not answered at once";
  box->button(QMessageBox::Yes)->click();
  QApplication::processEvents();
  ASSERT_EQ(later.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(later.get(), ui::Answer::Yes);
}

}  // namespace
