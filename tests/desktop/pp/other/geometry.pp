unit Geometry;

{$mode objfpc}{$H+}

interface

type
  TPoint2D = record
    X, Y: Double;
  end;

function Distance(const A, B: TPoint2D): Double;

implementation

uses
  Math;

function Distance(const A, B: TPoint2D): Double;
begin
  Result := Hypot(B.X - A.X, B.Y - A.Y);
end;

end.
