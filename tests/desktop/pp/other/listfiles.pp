{$mode delphi}
{ Lists the files of a folder. }
program ListFiles;

uses
  SysUtils;

var
  Info: TSearchRec;

begin
  if FindFirst(*, faAnyFile, Info) = 0 then
  repeat
    WriteLn(Info.Name);
  until FindNext(Info) <> 0;
  FindClose(Info);
end.
