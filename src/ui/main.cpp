// STUB: replaced by the real program entry.
#include <QApplication>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
