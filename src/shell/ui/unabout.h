#pragma once

#include "kit/kelmaform.h"

#include <QPixmap>

class QLabel;

/// The about screen: a picture that closes when clicked (or on any key that
/// means "done": Enter, Space, Escape).
class TFRMABOUT : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMABOUT(Session &session, QWidget *parent = nullptr);

    /// The picture, drawn rather than shipped: the product's name and version.
    static QPixmap picture(const QString &version, qreal devicePixelRatio = 1.0);
    /// The small picture the main window shows to open this screen.
    static QPixmap badge(int side, qreal devicePixelRatio = 1.0);

public slots:
    void reject() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *pictureLabel; // Image1
};
