#pragma once

#include <QString>
#include "scenario/output_file.h"
#include "scenario/refusal.h"
#include "scenario/scenario.h"

namespace prrsim::ui {

// A refusal in Russian, from its code and parts alone.
QString russianText(const batch::Refusal& refusal);

// The message shown when a scene file is refused: the file, the action (its position, op and
// tick), the field and the reason.
QString sceneErrorText(const batch::ScenarioError& error);

// The message shown when a scene could not be saved.
QString saveErrorText(const QString& path, const batch::WriteFailure& failure);

// Why a file could not be written, in Russian: "не хватает места на диске", ...
QString writeFailureReason(const batch::WriteFailure& failure);

}  // namespace prrsim::ui
