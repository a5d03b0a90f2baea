#pragma once
// A main window in a temporary program folder with its own GRX1.ini, driven through fake dialogs.
#include "FakeModalUi.h"
#include "FileBytes.h"
#include "app/TForm1.h"
#include "device/LinkState.h"

#include <QFile>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace grx::test {

// The file dialogs' filter for every file, as the platform writes it.
#ifdef _WIN32
inline constexpr const char* kAllFiles = "All files (*.*)";
#else
inline constexpr const char* kAllFiles = "All files (*)";
#endif

class MainWindowFixture : public ::testing::Test {
 protected:
  // The line GRX1.ini keeps for the last folder: native separators, and one at the end.
  static QByteArray lastReadPathLine(const QString& folder) {
    return "LastReadPath=" + QDir::toNativeSeparators(folder + QLatin1Char('/')).toUtf8() + "\r\n";
  }
  QString iniPath() const { return dir_.filePath(QStringLiteral("GRX1.ini")); }
  void writeIni(const QByteArray& bytes) const { ASSERT_TRUE(writeFileBytes(iniPath(), bytes)); }
  QByteArray iniBytes() const { return readFileBytes(iniPath()); }
  // Creates the window and runs its start-up.
  TForm1& start(const FileHomes& homes = {}, LinkShared* link = nullptr) {
    TForm1::Environment env;
    env.link = link;
    env.programFolder = QDir::toNativeSeparators(dir_.path());  // as programFolderOf gives it
    env.homes = homes;
    env.ui = &ui_;
    env.exitProcess = [this](int code) { exitCodes_.push_back(code); };
    env.stopWorker = [this] { ++workerStops_; };
    form_ = std::make_unique<TForm1>(env);
    form_->FormCreate();
    return *form_;
  }

  QTemporaryDir dir_;
  FakeModalUi ui_;
  std::unique_ptr<TForm1> form_;
  std::vector<int> exitCodes_;
  int workerStops_ = 0;
};

}  // namespace grx::test
