// The recovery file of the scene files: the session written for restoring after a crash, and
// the sessions earlier crashes left behind offered at start.
#include <QFile>
#include <QFileInfo>

#include "scenario/input_text.h"
#include "scenario/output_file.h"
#include "session/recovery_text.h"
#include "ui/scene_errors.h"
#include "ui/scene_files.h"
#include "ui/ui_text.h"

namespace prrsim::ui {

QString SceneFiles::recoveryFile() const {
    return recovery_ ? recovery_->path() : QString();
}

void SceneFiles::writeRecovery() {
    if (!recovery_) {
        return;
    }
    // Only a session with something of the user's in it is worth restoring.
    if (session_.actionCount() == 0 && sceneFile_.isEmpty()) {
        recovery_->remove();
        return;
    }
    session::RecoveryContent content;
    // Absolute: restored from another working folder, the path must still name this file.
    content.file = sceneFile_.isEmpty()
                       ? std::string()
                       : QFile::encodeName(QFileInfo(sceneFile_).absoluteFilePath()).toStdString();
    content.modified = session_.modified();
    content.scene = batch::writeScenario(session_.recording());
    if (const auto failure = recovery_->write(session::recoveryText(content))) {
        emit notice(
            QStringLiteral("Сеанс не сохраняется для восстановления: файл «%1» не "
                           "записывается (%2). Сохраните сцену.")
                .arg(QFile::decodeName(failure->path.c_str()), writeFailureReason(*failure)));
    }
}

namespace {

// Why a recovery file cannot be restored, in Russian; empty when it can be read.
QString unreadable(const QString& path, session::RecoveryContent& content) {
    std::string text;
    switch (
        batch::readBoundedText(QFile::encodeName(path).toStdString(), text, kMaxRecoveryBytes)) {
        case batch::ReadProblem::None:
            break;
        case batch::ReadProblem::NotRegularFile:
            return QStringLiteral("это не файл");
        case batch::ReadProblem::TooLarge:
            return QStringLiteral("файл слишком велик");
        case batch::ReadProblem::CannotOpen:
        case batch::ReadProblem::CannotRead:
            return QStringLiteral("файл не читается");
    }
    std::string error;
    const auto read = session::readRecoveryText(text, error);
    if (!read) {
        return QStringLiteral("файл повреждён");
    }
    content = *read;
    return QString();
}

}  // namespace

bool SceneFiles::offerRecovery() {
    if (!recovery_) {
        return false;
    }
    for (const LeftRecovery& left : leftRecoveries(stateDirectory_, recovery_->path())) {
        session::RecoveryContent content;
        const QString problem = unreadable(left.path, content);
        if (!problem.isEmpty()) {
            // Neither offered again nor lost: kept aside, and the user told where.
            const QString aside = keepAside(left.path);
            showError(QStringLiteral("Прошлый сеанс не восстановлен: %1 («%2»).\n\n%3")
                          .arg(problem, QFileInfo(left.path).fileName(),
                               aside.isEmpty() ? QStringLiteral("Файл оставлен на месте.")
                                               : QStringLiteral("Файл отложен как «%1».")
                                                     .arg(QFileInfo(aside).fileName())));
            continue;
        }
        const QString original = QFile::decodeName(content.file.c_str());
        const QString where = original.isEmpty() ? QStringLiteral("новая сцена")
                                                 : "«" + QFileInfo(original).fileName() + "»";
        if (!askYesNo(QStringLiteral("Восстановить последний сеанс?\n\nПрограмма была закрыта "
                                     "аварийно; сеанс (%1) сохранён для восстановления.")
                          .arg(where),
                      QStringLiteral("Восстановить"))) {
            QFile::remove(left.path);
            continue;
        }
        batch::ScenarioError error;
        const std::string source = QFile::encodeName(left.path).toStdString();
        const auto scenario = batch::parseScenario(content.scene, source, error);
        if (!scenario || !session_.open(*scenario, source, error)) {
            showError(sceneErrorText(error));
            keepAside(left.path);
            continue;
        }
        sceneFile_ = original;
        session_.setModified(content.modified);
        emit sceneReplaced(true);
        // The session is in this instance's own file before the old one goes.
        writeRecovery();
        if (QFileInfo::exists(recovery_->path()) ||
            (session_.actionCount() == 0 && sceneFile_.isEmpty())) {
            QFile::remove(left.path);
        }
        return true;
    }
    return false;
}

}  // namespace prrsim::ui
