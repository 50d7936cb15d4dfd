#pragma once

#include <Protokoll.h>

#include <QApplication>
#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <QTimer>

// Closes every protocol window that shows while it lives; keeps the last one's text and counts.
struct ProtokollSchliessen {
    ProtokollSchliessen()
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* p = qobject_cast<TfrmProtokoll*>(QApplication::activeModalWidget())) {
                text = p->Memo()->toPlainText();
                ++gezeigt;
                p->accept();
            }
        });
        timer.start();
    }
    QTimer timer;
    QString text;
    int gezeigt = 0;
};
