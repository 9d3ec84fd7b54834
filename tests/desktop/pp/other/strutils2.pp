(* Copyright 2026 the Example developers. *)

unit Strutils2;

interface

function Reverse(const S: string): string;

implementation

function Reverse(const S: string): string;
var
  I: Integer;
begin
  SetLength(Result, Length(S));
  for I := 1 to Length(S) do
    Result[I] := S[Length(S) - I + 1];
end;

end.
