#pragma once

namespace Tintor::DB {

// Status codes of the lookups and queries.
enum Status {
    StatusOk = 0,
    StatusFailed = -1,        // query failed or nothing found
    StatusNullUuid = -2,
    StatusNotRegistered = -4,
    StatusCannotOpen = -5,
    StatusNoMatch = -6,       // no card passes the filter, or the phrase matched nothing
    StatusRowOutsideCard = -10,
};

} // namespace Tintor::DB
