#pragma once

#include <QString>
#include <string>

#include "scenario/output_file.h"
#include "scenario/scenario.h"

namespace prrsim::ui {

// The reason of a scene-reading error in Russian: the reader's and the runner's reasons, which
// are the one source of these checks, said again. `translated` tells whether the reason was
// one the windows know (an unknown one is shown as it is).
QString russianReason(const std::string& reason, bool* translated = nullptr);

// The message shown when a scene file is refused: the file, the action (its position, op and
// tick), the field and the reason.
QString sceneErrorText(const batch::ScenarioError& error);

// The message shown when a scene could not be saved.
QString saveErrorText(const QString& path, const batch::WriteFailure& failure);

// Why a file could not be written, in Russian: "не хватает места на диске", ...
QString writeFailureReason(const batch::WriteFailure& failure);

}  // namespace prrsim::ui
