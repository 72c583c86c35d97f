#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace app {

class Prompter;
class TMain;

// The tour's prompter: every question answered No, messages not shown, the
// sample file given to the import's file dialog, other dialogs cancelled.
std::unique_ptr<Prompter> makeTourPrompter(const QString& importSample);

// Opens every window of the program in turn, as its menu command does, and
// saves a picture of each into folder (docs/make-screenshots.sh). The window
// runs on the tour's prompter. Returns the number of pictures saved.
// visit, when given, is shown each window as it stands (for checks that want
// every window, nested ones included), and the tour waits only briefly.
int runScreenshotTour(TMain& window, const QString& folder, const std::function<void(QWidget&)>& visit = {});

} // namespace app
