// The main window's tester windows: the material and object name editors (one of each at a time,
// kept by the guard flags) and the screen image window (a new one on every use).
#include "TForm1.h"

#include "MainActions.h"
#include "device/LinkRequests.h"
#include "names/TfrmNames.h"
#include "screen/TfrmScreenshot.h"

#include <QAction>

namespace grx {
namespace {

// The tester exchanges of these windows wait while the window keeps handling its events.
UiWaiter& windowWaiter() {
  static EventLoopWaiter waiter;
  return waiter;
}

}  // namespace

void TForm1::connectTesterActions() {
  connect(Actions->AMaterialEdit, &QAction::triggered, this, &TForm1::AMaterialEditExecute);
  connect(Actions->AObjectEdit, &QAction::triggered, this, &TForm1::AObjectEditExecute);
  connect(Actions->AScreenshot, &QAction::triggered, this, &TForm1::AScreenshotExecute);
}

LinkShared& TForm1::testerLink() {
  if (env_.link) return *env_.link;
  if (!ownLink_) ownLink_ = std::make_unique<LinkShared>();  // no worker: never idle, nothing is sent
  return *ownLink_;
}

void TForm1::AMaterialEditExecute() {
  if (MaterialsEditorOpen) return;
  MaterialsEditorOpen = true;
  TfrmNames::Environment env{&testerLink(), &materialFlags_, env_.ui, &windowWaiter(), &ini_, dataFolder(),
                             [this] { MaterialsEditorOpen = false; }, {}};
  auto* window = new TfrmMaterials(std::move(env), this);
  window->show();
  window->FormCreate();
}

void TForm1::AObjectEditExecute() {
  if (ObjectsEditorOpen) return;
  ObjectsEditorOpen = true;
  TfrmNames::Environment env{&testerLink(), &objectFlags_, env_.ui, &windowWaiter(), &ini_, dataFolder(),
                             [this] { ObjectsEditorOpen = false; }, {}};
  auto* window = new TfrmObjects(std::move(env), this);
  window->show();
  window->FormCreate();
}

void TForm1::AScreenshotExecute() {
  TfrmScreenshot::Environment env{&testerLink(), env_.ui, &windowWaiter(), &ini_, dataFolder()};
  auto* window = new TfrmScreenshot(std::move(env), this);
  window->FormCreate();
  window->show();
}

}  // namespace grx
