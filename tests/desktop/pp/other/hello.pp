program Hello;

var
  I: Integer;

begin
  for I := 1 to 3 do
    WriteLn('Hello, world ', I);
end.
