#pragma once
// What every view of the workspace is created with: the one document it shows.

#include <QString>

#include <functional>

class CQuorinDoc;
class QWidget;

struct CCreateContext {
    CQuorinDoc* m_pCurrentDoc = nullptr;
};

// A window class: its name, its node kind (4 tab window, 5 view) and how to create one.
struct TWindowClass {
    QString name;
    int kind = 0;
    std::function<QWidget*(QWidget* parent, CCreateContext* context)> create;
};
