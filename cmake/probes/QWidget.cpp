#include <QWidget>
int main()
{
    return 0;
}
