#pragma once
// A font list with the names a test gives, in that order, that can tell the test when it is
// read (to see what the window shows meanwhile).

#include "text/FontList.h"

#include <functional>

namespace sorvel::test {

class FakeFontList final : public FontList {
public:
    explicit FakeFontList(QStringList names) : m_names(std::move(names)) { }

    int count() override;
    QString name(int index) override;

    // Called at every query, before it answers.
    std::function<void()> onQuery;
    int queries() const { return m_queries; }

private:
    QStringList m_names;
    int m_queries = 0;
};

} // namespace sorvel::test
