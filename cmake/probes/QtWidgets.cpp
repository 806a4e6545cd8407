#include <QtWidgets>
int main()
{
    return 0;
}
