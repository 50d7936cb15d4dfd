SET TERM ^ ;

/* Rights of the program's database user on every object of the schema. The program does not
   own the objects (the update creates them as the administrator), and Firebird 3 also checks
   USAGE on generators. This script runs last, so it covers what the scripts before it created. */

EXECUTE BLOCK
AS
DECLARE VARIABLE NAME VARCHAR(63);
BEGIN
  FOR SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS
      WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0
      INTO :NAME
  DO
    EXECUTE STATEMENT 'GRANT SELECT, INSERT, UPDATE, DELETE, REFERENCES ON ' || :NAME
                      || ' TO BOVANTIS';

  FOR SELECT TRIM(RDB$PROCEDURE_NAME) FROM RDB$PROCEDURES
      WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$PACKAGE_NAME IS NULL
      INTO :NAME
  DO
    EXECUTE STATEMENT 'GRANT EXECUTE ON PROCEDURE ' || :NAME || ' TO BOVANTIS';

  FOR SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS
      WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0
      INTO :NAME
  DO
    EXECUTE STATEMENT 'GRANT USAGE ON SEQUENCE ' || :NAME || ' TO BOVANTIS';
END^

SET TERM ; ^
