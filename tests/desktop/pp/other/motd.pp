$message = @("MOTD")
  Welcome to ${facts['networking']['hostname']}.
  This machine is managed by Puppet.
  | MOTD

file { '/etc/motd':
  ensure  => file,
  owner   => 'root',
  group   => 'root',
  mode    => '0644',
  content => $message,
}
