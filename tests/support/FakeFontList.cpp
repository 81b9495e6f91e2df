#include "support/FakeFontList.h"

#include "platform/Failure.h"

namespace sorvel::test {

int FakeFontList::count()
{
    ++m_queries;
    if (onQuery)
        onQuery();
    return static_cast<int>(m_names.size());
}

QString FakeFontList::name(int index)
{
    ++m_queries;
    if (onQuery)
        onQuery();
    if (index < 0 || index >= m_names.size())
        fail(FailureKind::OutOfRange);
    return m_names.at(index);
}

} // namespace sorvel::test
