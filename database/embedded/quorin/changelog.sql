-- The change history. Who changed what, and when: written by the triggers of the logged
-- tables (made from the table in database/ChangeLog.cpp), never by the program. A value
-- is text (dates as 2026-12-08T10:11:12.345); NULL stays apart from ''. New registries
-- get it with the schema; older ones when they are next opened.
CREATE TABLE changelog (
    ChangeId   INTEGER PRIMARY KEY AUTOINCREMENT,
    ChangedAt  DATETIME NOT NULL,
    ChangedBy  VARCHAR(128) COLLATE TSQL NOT NULL,
    TableName  VARCHAR(128) COLLATE TSQL NOT NULL,
    RowKey     VARCHAR(400) COLLATE TSQL NOT NULL,
    SubjectId  INT,
    ColumnName VARCHAR(128) COLLATE TSQL,
    OldValue   TEXT,
    NewValue   TEXT,
    ChangeKind VARCHAR(7) NOT NULL -- insert, update, delete or restore
);
CREATE INDEX ix_changelog_subject ON changelog (SubjectId, ChangedAt);
CREATE INDEX ix_changelog_who ON changelog (ChangedBy, ChangedAt);
-- Nobody rewrites the history; a server administrator's deletion is itself logged.
CREATE TRIGGER changelog_kept BEFORE UPDATE ON changelog
BEGIN
    SELECT RAISE(ABORT, 'The change history cannot be changed.');
END;
CREATE TRIGGER changelog_deleted AFTER DELETE ON changelog
BEGIN
    INSERT INTO changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    VALUES (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), coalesce(original_login(), ''), 'changelog',
            CAST(old.ChangeId AS TEXT), old.SubjectId, NULL,
            old.ChangedAt || ' ' || old.ChangedBy || ' ' || old.ChangeKind || ' ' || old.TableName || ' ' || old.RowKey
                || coalesce(' ' || old.ColumnName, ''),
            NULL, 'delete');
END;
