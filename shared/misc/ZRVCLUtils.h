#pragma once

#include <QDialog>

#include <memory>

class QWidget;

namespace ZRVCLUtils {

// Creates a dialog of class D with Owner, shows it modally, frees it (also when it throws) and
// returns its result.
template <class D>
int ShowDialog(QWidget* owner)
{
    const auto dialog = std::make_unique<D>(owner);
    return dialog->exec();
}

}  // namespace ZRVCLUtils
