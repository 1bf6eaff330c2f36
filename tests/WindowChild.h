#pragma once
// The parameter pages keep the form designer's names, which the main window's own
// form uses as well: a name asked of the window is looked up outside the pages,
// a name asked of a page inside it.
#include "pages/ParameterPage.h"

#include <QObject>

template <class T> T* windowChild(QObject* parent, const char* name) {
    for (T* w : parent->findChildren<T*>(name)) {
        bool inPage = false;
        for (QObject* o = w->parent(); o && o != parent; o = o->parent())
            inPage = inPage || qobject_cast<ParameterPage*>(o);
        if (!inPage) return w;
    }
    return nullptr;
}
