#pragma once

#include <QWidget>

namespace velmora {

// The loading window shown while the windows are created.
class TFormLadda : public QWidget {
    Q_OBJECT
public:
    explicit TFormLadda(const QString& nationalEdition, QWidget* parent = nullptr);
};

}  // namespace velmora
