#pragma once
// One staff member as the Users window hands it to the account operations: a row of
// pers, whose user name is also the member's login and database user.

#include <QString>

struct CPersRecord {
    int PersId = 0;
    // 0 active, 1 inactive, 2 active without password, 3 administrator.
    int Status = 1;
    QString Name;      // "Lastname, Firstname"
    QString FirstName;
    QString LastName;
    QString UserName;  // lower case
    QString Citi;      // CITI training date text
    QString Nih;       // NIH training date text
    QString Other;
    QString Review;
};
