-- Distance zone of a zip code; no row for a zip the table does not know.
CREATE PROCEDURE uspGetZone
    @zip int
AS
SELECT DZone FROM zones WHERE Zip = @zip;
