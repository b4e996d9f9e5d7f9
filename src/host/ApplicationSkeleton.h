#pragma once

#include <QApplication>

namespace Tintor {

// The application object of one host request. Its one addition: no
// exception escapes event delivery into the host.
class ApplicationSkeleton : public QApplication
{
    Q_OBJECT

public:
    ApplicationSkeleton(int &argc, char **argv);
    ~ApplicationSkeleton() override;

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace Tintor
