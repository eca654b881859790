#pragma once
// One proxy style of a kind over the application's style, made at its first
// use and shared by every widget that takes it; it goes with the application.

#include <QApplication>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>

namespace ui {

template <class ProxyStyle>
QStyle* sharedStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new ProxyStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

}  // namespace ui
