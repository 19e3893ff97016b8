#pragma once
// The registry's two lines between children and adults, each written once.
//
// The numbers, participation and demographics reports count whole calendar years as the
// server does: a subject is a child while datediff(yy, birthdate, today) < 19. Consent's
// "turned adult" list counts days: 19 years of 365.25 days since birth. The two lines
// differ around a birthday and both are kept, so no count changes. They are macros so
// that the reports' statement tables stay string literals.

#define QUORIN_SQL_CHILD "datediff(yy,birthdate, GetDate()) < 19"
#define QUORIN_SQL_ADULT "datediff(yy,birthdate, GetDate()) >= 19"
#define QUORIN_SQL_ADULT_DAYS "19*365.25"
