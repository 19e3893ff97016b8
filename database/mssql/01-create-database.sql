-- Creates the registry database "Quorin". Run as a sysadmin, then the scripts 02 to 04
-- in order (and 05, 06 on a test server that lacks the institute's Aud and CID).
IF DB_ID('Quorin') IS NULL CREATE DATABASE Quorin;
GO
