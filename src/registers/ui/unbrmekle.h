#pragma once

#include "kit/kelmaform.h"

#include "registers/routing.h"

class QLabel;
class QListWidget;
class QPushButton;

/// "BİRİM SEÇİMİ": departments to route a document to. A double-click (or
/// Enter) routes the chosen one and keeps the dialog open for more.
class TFRMBRMEKLE : public KelmaForm
{
    Q_OBJECT

public:
    TFRMBRMEKLE(Session &session, Routing &routing, QWidget *parent = nullptr);

    /// Routes the department of a list row.
    void choose(int row);

signals:
    /// The routing rows changed; the record screen shows them again.
    void routed();

protected:
    void FormActivate() override;

private:
    void refill();

    Routing &m_routing;
    QList<Department> m_offered;

    QListWidget *departmentsList; // DBGrid1
    QLabel *hintLabel; // Label1
    QPushButton *routeAllButton; // BitBtn1 "Tümünü Aktar"
    QPushButton *exitButton; // BitBtn2 "Çıkış"
};

/// The same for outgoing documents delivered internally.
class TFRMBRMEKLE1 : public TFRMBRMEKLE
{
    Q_OBJECT

public:
    using TFRMBRMEKLE::TFRMBRMEKLE;
};
