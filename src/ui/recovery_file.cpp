#include "ui/recovery_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace prrsim::ui {

namespace {

const QString kPrefix = QStringLiteral("recovery");
const QString kBrokenPrefix = QStringLiteral("recovery-broken-");

QString lockPathOf(const QString& recoveryPath) {
    const QFileInfo info(recoveryPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".lock"));
}

}  // namespace

RecoveryFile::RecoveryFile(const QString& directory) {
    // The start time keeps a reused process number from naming a dead instance's file.
    const QString name = QStringLiteral("%1-%2-%3.json")
                             .arg(kPrefix)
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    path_ = QDir(directory).filePath(name);
    lock_ = std::make_unique<QLockFile>(lockPathOf(path_));
    lock_->tryLock(0);
}

std::optional<batch::WriteFailure> RecoveryFile::write(const std::string& text) {
    if (text == written_ && !failing_) {
        return std::nullopt;
    }
    std::optional<batch::WriteFailure> failure =
        batch::writeWholeFile(QFile::encodeName(path_).toStdString(), text);
    if (!failure) {
        written_ = text;
        failing_ = false;
        return std::nullopt;
    }
    const bool first = !failing_;
    failing_ = true;
    return first ? failure : std::nullopt;
}

void RecoveryFile::remove() {
    if (!written_.empty() || QFileInfo::exists(path_)) {
        QFile::remove(path_);
    }
    written_.clear();
}

std::vector<LeftRecovery> leftRecoveries(const QString& directory, const QString& own) {
    std::vector<LeftRecovery> left;
    const QDir dir(directory);
    const QFileInfoList found =
        dir.entryInfoList({kPrefix + QStringLiteral("*.json")},
                          QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                          QDir::Time | QDir::Reversed);
    for (const QFileInfo& info : found) {
        const QString path = info.absoluteFilePath();
        if (info.fileName().startsWith(kBrokenPrefix) ||
            path == QFileInfo(own).absoluteFilePath()) {
            continue;
        }
        // A live instance holds its lock; the lock of one that died is stale and taken over.
        auto lock = std::make_unique<QLockFile>(lockPathOf(path));
        if (!lock->tryLock(0)) {
            continue;
        }
        left.push_back({path, std::move(lock)});
    }
    return left;
}

QString keepAside(const QString& path) {
    const QFileInfo info(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = info.dir().filePath(kBrokenPrefix + stamp + QStringLiteral(".json"));
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n) {
        aside = info.dir().filePath(kBrokenPrefix + stamp + QStringLiteral("-%1.json").arg(n));
    }
    // A directory or a pipe is moved aside as a file is.
    return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0
               ? aside
               : QString();
}

}  // namespace prrsim::ui
