-- The change history, newest first: of one subject (0: every subject and the rows of no
-- subject), by one login ('': anyone), since a moment. One subject's rows come by the
-- index on subject and time; the second part runs only when every row is asked for.
CREATE PROCEDURE uspLoadChangeHistory
    @SubjectId int = 0,
    @ChangedBy varchar(128) = '',
    @Since datetime = '1900-01-01'
AS
SELECT ChangeId, ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind
FROM changelog
WHERE SubjectId = @SubjectId AND ChangedAt >= @Since AND (ChangedBy = @ChangedBy OR @ChangedBy = '')
UNION ALL
SELECT ChangeId, ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind
FROM changelog
WHERE @SubjectId = 0 AND ChangedAt >= @Since AND (ChangedBy = @ChangedBy OR @ChangedBy = '')
ORDER BY ChangedAt DESC, ChangeId DESC;
