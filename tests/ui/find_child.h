#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace prrsim::ui {

// The descendant of `root` of type T with object name `name`. A missing one ends the test as
// a failure (an exception gtest reports) instead of a crash on a null pointer.
template <class T>
T* childNamed(const QObject* root, const char* name) {
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error("no " + std::string(name) + " in " +
                                 root->objectName().toStdString());
    }
    return found;
}

}  // namespace prrsim::ui
