#include <QtWidgets/qpushbutton.h>
int main()
{
    return 0;
}
