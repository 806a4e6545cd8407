#include <QtCharts/QChart>
int main()
{
    return 0;
}
