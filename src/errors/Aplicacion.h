// The application object: its central handler catches whatever escapes an
// event handler and gives it to the error handler, so no exception crosses
// Qt's event loop and the program goes on.
#pragma once

#include <QApplication>

class tAplicacion : public QApplication
{
    Q_OBJECT
public:
    tAplicacion(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
